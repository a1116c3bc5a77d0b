-- | Sums the line counts of a project.
module Totals where

import Prelude
import Data.Foldable (sum)

{- PureScript comments nest:
   {- an inner one -}

   still comment -}
type Row = { path :: String, code :: Int }

total :: Array Row -> Int
total rows = sum (map _.code rows) -- code lines only

marker :: String
marker = "-- not a comment"

help :: String
help = """Usage: totals
{- still the string -}"""
