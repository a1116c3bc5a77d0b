/* Sums the numbers given on the command line. */
parse arg numbers
total = 0

/* Each word is one number;

   words that are not numbers stop the sum. */
do i = 1 to words(numbers)
  total = total + word(numbers, i) /* add one */
end
say 'Total:' total
say "/* not a comment */"
