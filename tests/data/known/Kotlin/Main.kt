// Entry point.
package demo

/* Block comments in Kotlin
   /* nest */

   and end here. */
fun main(args: Array<String>) {
    val name = args.firstOrNull() ?: "world" // default
    println("Hello, $name /* not a comment */")
    val help = """
        // kept as text
    """
    val c = '"'
    println(help + c) /* shown */
}
