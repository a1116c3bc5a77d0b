// Arithmetic expressions.
grammar Expr;

/* Precedence follows the order

   of the alternatives. */
expr
    : expr ('*' | '/') expr
    | expr ('+' | '-') expr
    | INT                 // literal
    | '(' expr ')'
    ;

COMMENT : '//' ~[\r\n]* -> skip ;
QUOTE   : '\'' ;
INT     : [0-9]+ ;
WS      : [ \t\r\n]+ -> skip ; /* blanks */
