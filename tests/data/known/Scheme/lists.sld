;;; A small library of list helpers.
(define-library (kordel lists)
  (export total)
  (import (scheme base))

  #| The rows are association lists;

     only the code entry is read. |#
  (begin
    (define (total rows)
      (apply + (map (lambda (r) (cdr (assoc "code" r))) rows))) ; code lines
    (define marker "; not a comment")))
