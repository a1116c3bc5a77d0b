-- Greets the user.
module Hello where

{- Block comments in Curry
   {- nest -}

   and end here. -}
greeting :: String
greeting = "Hello -- " ++ name -- joined

name :: String
name = "world"
