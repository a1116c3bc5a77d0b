// Factorial with a proof of positivity.
module Demo

(* Block comments in F*
   (* nest *)

   and end here. *)
let rec fact (n: nat) : pos =
  if n = 0 then 1 else n * fact (n - 1) // recursion

let label = "fact (* not a comment *)"
let main = FStar.IO.print_string label
