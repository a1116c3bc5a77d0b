;; A counter contract.
(define-data-var count uint u0)

(define-public (increment) ;; by one
  (begin
    (var-set count (+ (var-get count) u1))
    (ok (var-get count))))

;; Read-only access.
(define-read-only (get-count)
  (ok (var-get count)))
(define-constant note "count ;; demo")
