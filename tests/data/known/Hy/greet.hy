;; Greets the user.
(import sys)

(defn greet [name] ; returns the greeting
  (+ "Hello; " name))

(setv help "Usage: greet NAME
  ; prints a greeting")

(print (greet (get sys.argv 1)))
