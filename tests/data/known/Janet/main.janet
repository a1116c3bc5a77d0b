# Greets the user.
(def name (or (get (dyn :args) 1) "world"))

(defn greet [who] # returns the greeting
  (string "Hello # " who))

(def help `Usage: main NAME
  # prints a greeting`)

(print (greet name))
(print help)
