{ The command line program of the demo. }
program Demo;

uses SysUtils;

(* Counts the arguments

   and prints them. *)
var
  count: Integer; // the number of arguments
begin
  count := ParamCount;
  WriteLn('Arguments: ', count);
end.
