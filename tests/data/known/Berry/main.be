# Greets the user.
import string

#- Block comments in Berry

   end here. -#
def greet(name)
  return "Hello # " + name  # greeting
end

print(greet('world #1'))
