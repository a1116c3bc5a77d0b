% A small object with a counter.
:- object(counter).

/* The count starts at zero

   and only grows. */
	:- public([next/1, reset/0]).
	:- private(count_/1).
	:- dynamic(count_/1).

	count_(0).  % initial value

	next(N) :-
		retract(count_(N0)),
		N is N0 + 1,
		assertz(count_(N)).

	reset :- retractall(count_(_)), assertz(count_(0)).
	label('% not a comment').

:- end_object.
