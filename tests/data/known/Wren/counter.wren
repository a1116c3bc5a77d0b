// A class that counts lines.
class Counter {
  construct new() { _lines = 0 }
  lines { _lines } // getter

  /* Wren block comments nest:
     /* inner */

     outer */
  add(text) {
    for (c in text) {
      if (c == "\n") _lines = _lines + 1 /* per LF */
    }
  }
}

var c = Counter.new()
c.add("a\nb\n// not a comment")
System.print(c.lines)
var help = """
// still the raw string
"""
