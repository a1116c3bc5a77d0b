# Greets the user.
name = ARGV.first? || "world"
puts "Hello, #{name} # not a comment" # greeting

class Counter
  getter count = 0

  # Adds one.
  def incr
    @count += 1
  end
end

c = '#'
text = "first line
# second line"
