// Command hello greets the user.
package main

import "fmt"

/* usage is printed when no

   name is given. */
const usage = `hello NAME
  // prints a greeting`

func main() {
    name := "world" // default
    fmt.Println("Hello, " + name + " /* not a comment */")
    r := '"'
    fmt.Println(r) /* rune */
}
