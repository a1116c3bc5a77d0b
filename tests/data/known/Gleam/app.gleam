// Greets the user.
import gleam/io

pub fn main() {
  let name = "world" // default
  io.println("Hello, " <> name <> " // not a comment")
  io.println(help())
}

/// The help text spans lines.
fn help() -> String {
  "Usage: app NAME
  // prints a greeting"
}
