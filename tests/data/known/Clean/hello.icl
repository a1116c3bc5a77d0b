// Greets the user.
module hello

import StdEnv

/* Block comments in Clean
   /* nest */

   and end here. */
Start = greeting +++ name // the result
where
    greeting = "Hello // "
    name = toString 'w' +++ "orld"
