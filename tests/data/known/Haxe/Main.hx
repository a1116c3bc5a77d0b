// Entry point.
class Main {
  /* Prints a greeting

     and the help. */
  static function main() {
    var name = "world"; // default
    trace('Hello, $name // not a comment');
    var help = "Usage: main NAME
  // prints a greeting";
    trace(help); /* shown */
  }
}
