/* Grammar of the settings file. */
%{
#include <stdio.h>
int yylex(void);
void yyerror(const char *s); // reports a parse error
%}

%token NAME VALUE

%%
/* a file is a list of settings,

   one per line */
file: /* empty */
    | file setting
    ;

setting: NAME '=' VALUE { printf("%s // set\n", "x"); }
    ;
%%
