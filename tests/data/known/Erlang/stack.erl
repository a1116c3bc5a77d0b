%% A stack as a list.
-module(stack).
-export([new/0, push/2, pop/1]).

% new() returns an empty stack.
new() -> [].

push(Item, Stack) -> [Item | Stack]. % on top

pop([]) -> {error, "empty % stack"};
pop([Top | Rest]) -> {ok, Top, Rest}.

name() -> 'stack%name'.
