#!/usr/bin/perl
use strict;
use warnings;
use Test::More tests => 3;

# The counter's sums.
my @rows = ({code => 3}, {code => 4});
my $total = 0; # running sum
$total += $_->{code} for @rows;

is($total, 7, "sum of code lines # not a comment");
ok(@rows == 2, "two rows");
    # indented comment
is(scalar(@rows), 2);
