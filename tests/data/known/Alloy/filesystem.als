// A file system as a tree.
module filesystem

/* Every object has one parent,

   except the root. */
abstract sig Object { parent: lone Dir }
sig File extends Object {}
sig Dir extends Object {} -- directories

one sig Root extends Dir {}

fact { no Root.parent } // the root has no parent
-- acyclic:
fact { no o: Object | o in o.^parent }
pred named[s: String] { s = "a -- b" }
run {} for 4 but exactly 2 File
