// Length of a list.
#include "share/atspre_staload.hats"

(* Block comments in ATS
   (* nest *)

   and end here. *)
fun len {n:nat} (xs: list(int, n)): int =
  case+ xs of // by cases
  | list_nil() => 0
  | list_cons(_, xs) => 1 + len(xs)

implement main0() = println!("len // ", len($list(1, 2, 3)))
val c = '"' /* quote */
