# Greets the user.
greet = (name = "world") ->
  console.log "Hello, #{name} # not a comment"

###
Block comments in CoffeeScript

end with three hashes.
###
square = (x) -> x * x  # helper
help = """
  Usage: app NAME
  # kept as text
"""
greet 'you'
