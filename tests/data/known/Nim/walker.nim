## Walks a folder and counts its files.
import os, strutils

#[ A block comment
   #[ nested inside ]#

   still in the outer one ]#
proc count(dir: string): int =
  result = 0 # start at zero
  for kind, path in walkDir(dir):
    if path.endsWith(".nim"): inc result

const usage = """
Usage: walker DIR  # not a comment here
"""
const pattern = r"C:\temp\#"
let hash = '#'
echo count(".") #[ inline ]#
