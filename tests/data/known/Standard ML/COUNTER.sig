(* Signature of a line counter. *)
signature COUNTER =
sig
  type counts = {code : int, comment : int}

  (* Counts the lines of one text;

     the text may be empty. *)
  val count : string -> counts (* pure *)
  val marker : string
end
