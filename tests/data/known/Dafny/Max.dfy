// The larger of two integers.
method Max(a: int, b: int) returns (m: int)
  ensures m >= a && m >= b // an upper bound
{
  if a > b { m := a; } else { m := b; }
}

/* Block comments in Dafny
   /* nest */

   and end here. */
method Main() {
  var m := Max(3, 4);
  print "max // ", m, "\n";
  assert m == 4; /* checked */
}
