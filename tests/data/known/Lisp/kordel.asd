;;;; System definition of the kordel library.
(defsystem "kordel"
  :version "1.4.0"
  :depends-on ("alexandria") ; utilities
  :components ((:file "package")
               (:file "count" :depends-on ("package"))))

#| A second system holds
   the tests. |#
(defsystem "kordel/tests"
  :depends-on ("kordel" "fiveam")
  :components ((:file "tests")))
