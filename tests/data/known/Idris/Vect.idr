-- Vectors with their length in the type.
module Vect

data Vect : Nat -> Type -> Type where
  Nil  : Vect Z a -- empty
  (::) : a -> Vect k a -> Vect (S k) a

{- Block comments in Idris
   {- nest -}

   and end here. -}
name : String
name = "vect -- demo"
help : String
help = """
  -- kept as text
  """
