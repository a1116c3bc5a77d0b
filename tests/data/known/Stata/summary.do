* Summary statistics of the line counts.
version 17
clear all

import delimited using "counts.csv", clear
summarize code comment // both columns

/* Large files get a flag;

   the cut is 1000 lines. */
generate large = lines > 1000
tabulate large
display "// not a comment"
  * indented star comment
