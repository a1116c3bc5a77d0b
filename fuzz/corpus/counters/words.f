\ Forth words for a small stack demo.
: square ( n -- n*n ) dup * ;   \ square a number
: cube ( n -- n^3 ) dup square * ;

\ print with a label
: show ( n -- ) ." value: \ " . cr ;
C" counted" type
   \ indented comment
: greet  ." Hello" cr ;

*  a star line
5 cube show
