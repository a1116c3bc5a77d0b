// Counts the lines of a text.
function count(text) {
    local n = 0; # running count
    foreach (c in text) {
        if (c == '\n') n++;
    }
    return n;
}

/* A verbatim string may span

   several lines. */
local help = @"Usage: count FILE
// still the string";
print(count("a\nb\n") + " // lines");
