// Greets the user.
import 'dart:io';

/* Block comments in Dart
   /* nest */

   and end here. */
void main(List<String> args) {
  final name = args.isEmpty ? 'world' : args.first; // default
  print('Hello, $name // not a comment');
  final banner = """
  /* kept as text */
  """;
  print(banner); /* shown */
  print("done");
}
