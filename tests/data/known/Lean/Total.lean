-- Sums of lists, with a proof.
import Mathlib.Data.List.Basic

/- A block comment
   /- nested, as Lean allows -/

   still a comment -/
/-- The sum of a list of naturals. -/
def total : List Nat → Nat
  | [] => 0
  | x :: xs => x + total xs -- structural recursion

theorem total_nil : total [] = 0 := rfl

def banner : String := "-- not a comment"
def help : String := "first line
/- still the string -/
last line"
#eval total [1, 2, 3] /- 6 -/
