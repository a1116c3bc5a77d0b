#lang racket
;; Sums the line counts of a project.

#| Racket block comments nest:
   #| an inner one |#

   still comment |#
(define (total rows)
  (for/sum ([r rows]) (hash-ref r 'code))) ; code lines

(define marker "; not a comment")
(define help "Usage: total DIR
; still the string")

(displayln (total (list (hash 'code 3)))) #| 3 |#
