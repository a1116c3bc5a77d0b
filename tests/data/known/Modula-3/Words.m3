(* A module that counts words. *)
MODULE Words EXPORTS Main;
IMPORT IO, Text;

(* Comments nest in Modula-3:
   (* an inner one *)

   and the outer one ends here. *)
CONST Sep = ' ';
VAR count: INTEGER := 0;

PROCEDURE Count(t: TEXT) =
  BEGIN
    FOR i := 0 TO Text.Length(t) - 1 DO
      IF Text.GetChar(t, i) = Sep THEN INC(count) END (* one more *)
    END
  END Count;

BEGIN
  Count("a b (* not a comment *) c"); (* three words *)
  IO.PutInt(count)
END Words.
