#!/usr/bin/env ruby
# Greets everybody on the list.
require 'set'
NAMES = %w[ann bob]   # the list

def greet(name)
  puts "Hello, #{name}!"  # interpolation is no comment
  puts 'single # quotes are not emptied'
end

=begin
block comments are not known to this counter
=end
NAMES.each { |n| greet(n) }
