# Lists the largest files of a folder.
def largest [dir: path, n: int = 5] {
  ls $dir | sort-by size --reverse # biggest first
    | first $n
}

let marker = "# not a comment"
let other = '# nor this'
let raw = r#'C:\temp\#'#
let cmd = `ls #not`
let help = r#'first line
# still the raw string'#
  # indented comment
largest . 3
