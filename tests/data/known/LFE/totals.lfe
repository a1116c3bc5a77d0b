;;; Sums the line counts of a project.
(defmodule totals
  (export (total 1)))

#| LFE block comments,

   as in Common Lisp. |#
(defun total (rows)
  (lists:sum (lists:map (lambda (r) (maps:get 'code r)) rows))) ; code only

(defun marker () "; not a comment")
(defun help () "first line
; still the string")
