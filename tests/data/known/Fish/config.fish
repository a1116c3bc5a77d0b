# Settings of the interactive shell.
set -gx EDITOR vim
set -gx PATH $HOME/bin $PATH

function greet
    echo "Hello, $argv # not a comment" # greeting
end

function prompt_line
    echo 'first line
# second line of the string'
end

    # indented comment
alias ll 'ls -l'
