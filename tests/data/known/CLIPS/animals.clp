; Facts and rules about animals.
(deftemplate animal (slot name) (slot sound))

(deffacts start
  (animal (name dog) (sound "woof; woof"))
  (animal (name cat) (sound meow))) ; two animals

;; Prints every animal.
(defrule speak
  (animal (name ?n) (sound ?s))
  =>
  (printout t ?n " says " ?s crlf))
