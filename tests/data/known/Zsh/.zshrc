# Interactive settings.
setopt autocd extendedglob
HISTFILE=~/.zsh_history
HISTSIZE=5000

autoload -Uz compinit && compinit
alias ll='ls -l'  # long listing
PROMPT='%n@%m %~ %# '
export EDITOR="vim"

precmd() {
  print -Pn "\e]0;%~ # title\a"
}
  # plugins
for p in ~/.zsh/plugins/*.zsh; do source "$p"; done
usage="zsh setup
# still the string"
