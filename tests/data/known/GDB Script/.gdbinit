# Settings of the debugger.
set history save on
set print pretty on

# Prints the list of the demo.
define plist
  set $n = $arg0
  while $n
    print *$n   # node
    set $n = $n->next
  end
end
printf "ready # %d\n", 1
