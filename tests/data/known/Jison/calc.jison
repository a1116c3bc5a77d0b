// A calculator grammar.
%lex
%%
\s+                   /* skip blanks */
[0-9]+                return 'NUMBER'
"//"                  return 'SLASHES'
"+"                   return '+'
/lex

/* Addition only,

   left associative. */
%left '+'
%%
e : e '+' e { $$ = $1 + $3; } // sum
  | NUMBER { $$ = Number(yytext); } ;
