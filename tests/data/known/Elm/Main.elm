-- A counter.
module Main exposing (main)

import Html exposing (text)

{- Block comments in Elm
   {- nest -}

   and end here. -}
main =
    text (greeting ++ help) -- shown

greeting = "Hello -- world"
help = """
  -- kept as text
"""
dash = '-'
