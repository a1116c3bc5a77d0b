// The larger of two integers.
procedure Max(a: int, b: int) returns (m: int)
  ensures m >= a && m >= b; // upper bound
{
  if (a > b) { m := a; } else { m := b; }
}

/* Checked by the verifier

   without a loop. */
procedure Main() {
  var m: int;
  call m := Max(3, 4); /* four */
  assert {:msg "max // check"} m == 4;
}
