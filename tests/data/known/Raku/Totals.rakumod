# Sums the line counts of a project.
unit module Totals;

sub total(@rows --> Int) is export {
    [+] @rows.map(*<code>)  # code lines
}

=begin comment
The marker below is a string,

not a comment.
=end comment
my $marker = "# not a comment";
my $other = '# nor this';
my $help = "Usage: total DIR
# still the string";
say total([{code => 3}, {code => 4}]);
