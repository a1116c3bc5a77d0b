;; Greets the user.
(local name (or (. arg 1) "world"))

(fn greet [who] ; returns the greeting
  (.. "Hello; " who))

;; The help text spans lines.
(local help "Usage: main NAME
  ; prints a greeting")

(print (greet name))
(print help)
