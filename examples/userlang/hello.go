package main

/* Prints a greeting.
   Nothing more. */
import "fmt"

func main() { // entry
	fmt.Println("// not a comment")
}
