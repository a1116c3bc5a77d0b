---------------------------- MODULE Counter ----------------------------
\* A counter that only grows.
EXTENDS Naturals
VARIABLE count

(* The initial state;
   (* comments nest in TLA+ *)

   and the next-state relation follows. *)
Init == count = 0
Next == count' = count + 1 \* one step
Spec == Init /\ [][Next]_count

Name == "\* not a comment"
=============================================================================
