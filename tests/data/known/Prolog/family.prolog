% Family relations, as facts and rules.
parent(tom, bob).
parent(bob, ann).

/* A grandparent is a parent

   of a parent. */
grandparent(X, Z) :-
    parent(X, Y), % first generation
    parent(Y, Z).

greeting("% not a comment").
:- initialization(main). /* run at load */
main :- grandparent(tom, W), write(W), nl.
