// Lexer of the calculator.
package demo;
%%
%class Lexer
%type Token

/* Digits and the operators

   are the only tokens. */
DIGIT = [0-9]
%%
{DIGIT}+   { return Token.number(yytext()); } // numbers
"//"       { return Token.slash(); }
[ \t\n]    { }
