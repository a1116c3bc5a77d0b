// Prints the arguments.
import std.stdio;

/+ Nested comments in D
   /+ nest +/

   and end here. +/
void main(string[] args) {
    foreach (a; args[1 .. $]) writeln(a); // each
    writeln("done // ok");
    auto path = r"C:\temp\";
    auto help = `Usage:
  app /* args */`;
    char c = '"'; /* quote */
}
