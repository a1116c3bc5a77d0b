// A persistent stack.
module Demo.Stack

(* Block comments in F#
   (* nest *)

   and end here. *)
type Stack<'T> = Stack of 'T list

let empty<'T> : Stack<'T> = Stack [] // no items
let push x (Stack xs) = Stack (x :: xs)

let path = @"C:\temp\(* not a comment *)"
let help = """Usage:
  push (* kept as text *)"""
let name = "stack // \"demo\"" (* shown *)
