#!/usr/bin/env node
// Prints the arguments.
import { argv } from 'node:process';

/* Every argument

   on its own line. */
for (const arg of argv.slice(2)) {
  console.log(arg); // one per line
}
console.log("done // ok");
