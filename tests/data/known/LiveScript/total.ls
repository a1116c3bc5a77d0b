# Sums the line counts of a project.
require! fs

/* Only files that exist

   are read. */
total = (rows) ->
  rows.reduce ((a, r) -> a + r.code), 0  # code lines

marker = '# not a comment'
other = "/* nor this */"
help = '''
  Usage: total [DIR]
  # still the string
'''
console.log total [{code: 3}, {code: 4}]
