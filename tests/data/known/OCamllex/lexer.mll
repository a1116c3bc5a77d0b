(* Tokens of the configuration language. *)
{
  open Parser
  exception Error of string
  let help = "first line
  (* still the string *)"
}

(* A comment (* with a nested one *)

   ends here. *)
let digit = ['0'-'9']
let ident = ['a'-'z' '_']+

rule token = parse
  | [' ' '\t']   { token lexbuf }  (* skip blanks *)
  | '"'          { STRING (string lexbuf) }
  | "(*"         { comment lexbuf }
  | digit+ as n  { INT (int_of_string n) }
  | ident as s   { IDENT s }
  | eof          { EOF }
