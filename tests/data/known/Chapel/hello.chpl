// Sums a range in parallel.
config const n = 100;

/* Block comments in Chapel
   /* nest */

   and end here. */
var total = + reduce [i in 1..n] i;
writeln("total = ", total); // sum
writeln("done // ok");
const help = """
  /* kept as text */
""";
proc twice(x: int) do return 2 * x; /* helper */
