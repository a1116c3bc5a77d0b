-- A class that counts lines.
class Counter
  new: =>
    @lines = 0 -- nothing yet

  add: (text) =>
    for _ in text\gmatch "\n"
      @lines += 1

marker = "-- not a comment"
other = '-- nor this'
help = "Usage: counter FILE
-- still the string"

  -- indented comment
c = Counter!
c\add "a\nb\n"
print c.lines
