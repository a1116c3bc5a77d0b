;;;; util.lisp -- small list helpers
;;; Section: folding
#| Block comments may
   span several lines.

|#
(defun sum (xs) ; adds the numbers
  (reduce #'+ xs))

(defun greet () (format t "Hi; there~%"))
(defvar *sym* 'done) ;; quoted symbol
(list 'a 'b) ; two symbols
'x ; lone apostrophe drops the rest
(foo) #| inline |# (bar)
#| one line |#
