#!/usr/bin/tclsh
# Small echo server.
set port 9000 ;# listening port

proc accept {chan addr port} {
    # indented comments are code for this counter
    puts $chan "hello ;# not a comment"
    close $chan ;# done
}
;# semicolon with nothing before it
socket -server accept $port
vwait forever
