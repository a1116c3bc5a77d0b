# Settings of the editor.
colorscheme gruvbox
set-option global tabstop 4
set-option global indentwidth 4  # spaces

# Line numbers everywhere.
add-highlighter global/ number-lines
map global user c ':comment-line<ret>' -docstring 'comment # line'
echo "ready # now"
hook global WinCreate .* %{ set-option window scrolloff 3,3 }
