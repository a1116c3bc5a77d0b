// Counts the lines of one text.
open Belt;

/* Reason comments nest:
   /* like this */

   and end here. */
let count = (text: string) => {
  let lines = Js.String.split("\n", text); // one per line
  Array.length(lines);
};

let marker = "/* not a comment */";
let path = {|C:\temp\// raw|};
let main = () => Js.log(count("a\nb")); /* done */
let help = {|first line
/* still the string */|};
