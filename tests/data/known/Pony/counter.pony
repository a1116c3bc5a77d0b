// A counter actor.
actor Counter
  """
  Counts the lines it is sent.
  """
  var _lines: U64 = 0 // nothing yet

  /* Pony block comments nest:
     /* inner */

     outer */
  be add(text: String) =>
    for c in text.values() do
      if c == '\n' then _lines = _lines + 1 end /* per LF */
    end

  be report(out: OutStream) =>
    out.print("lines // " + _lines.string())
