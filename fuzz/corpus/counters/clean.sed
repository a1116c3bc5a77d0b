#!/bin/sed -f
# Tidies up whitespace in text files.
s/[ \t]*$//

 # an indented hash is a command here
s/#.*// # strip shell comments
# a long note that goes on \
continued on this line
/^$/d
s/"#"/X/
