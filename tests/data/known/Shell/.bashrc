# Interactive settings of bash.
[ -z "$PS1" ] && return

HISTCONTROL=ignoredups
shopt -s histappend  # keep old history
PS1='\u@\h:\w\$ '

alias ll='ls -l'
export PATH="$HOME/bin:$PATH"
  # local additions
[ -f ~/.bashrc.local ] && . ~/.bashrc.local
