package main

/* Prints a greeting
   to the terminal. */
import "fmt"

func main() {
	fmt.Println("hi") // greet
}
