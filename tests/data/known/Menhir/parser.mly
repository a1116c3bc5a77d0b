/* Grammar of the configuration language. */
%{
  (* The syntax tree. *)
  open Ast
  let help = "first line
  /* still the string */"
%}

%token <string> IDENT STRING
%token EQUALS EOF
%start <Ast.t> file // the entry point

%%
/* A file is a list of bindings,

   in the order given. */
file:
  | bs = list(binding) EOF { bs } (* kept in order *)

binding:
  | k = IDENT EQUALS v = STRING { (k, v) }
  | k = IDENT EQUALS { (k, "/* empty */") }
