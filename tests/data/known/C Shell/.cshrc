# Settings of the C shell.
set path = (/usr/local/bin /usr/bin /bin)
setenv EDITOR vi

# Aliases.
alias ll 'ls -l'   # long listing
alias h 'history 20'

if ($?prompt) then
    set prompt = "%n@%m # "
    set history = 100
endif
echo 'a # b'
