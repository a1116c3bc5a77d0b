// Entry point of the demo.
<<__EntryPoint>>
function main(): void {
  $name = 'world'; // default
  echo "Hello, {$name} // not a comment\n";

  /* The list is built

     from a vector. */
  $items = vec[1, 2, 3];
  foreach ($items as $i) {
    echo $i; /* one */
  }
  $help = 'first line
// second line';
}
