#!/usr/bin/perl
# Prints a greeting.
use strict;

my $name = "world # not a comment";
print "Hello, $name\n";  # greet
