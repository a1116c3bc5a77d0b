* Report ZHELLO: prints a greeting.
REPORT zhello.

DATA lv_name TYPE string VALUE 'World'. " the default name
  * an indented star is code
" a whole-line comment
WRITE: / 'Hello', lv_name.
WRITE: / 'A "quoted" word'.
lv_total = lv_a * lv_b.

*&---------------------------------------------------------------------*
END-OF-SELECTION.
