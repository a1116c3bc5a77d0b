// Greets the user.
** Entry point of the demo.
class Hello
{
  /* Reads the name from

     the arguments. */
  static Void main(Str[] args)
  {
    name := args.first ?: "world" // default
    echo("Hello, $name // not a comment")
    help := """Usage:
                 hello NAME // a name"""
    echo(help) /* shown */
  }
}
