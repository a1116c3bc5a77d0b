{ Stack of integers.

  Written for the unit tests. }
program StackDemo;

(* The stack is a fixed array;

   push and pop check the bounds. *)
const
  Max = 10; // capacity
var
  Items: array[1..Max] of Integer;
  Top: Integer; { index of the top item }
begin
  Top := 0;
  // start empty
  writeln('{ not a comment }'); // shown
  writeln('(* nor this *)');
  writeln(Top,
    Max
  );
  ; // empty statement
  { note
  } Top := Top + 1;
  (* closing
  *) ;
end.
