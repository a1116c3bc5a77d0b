# bash completion for kordelc
_kordelc() {
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    case "$prev" in
        -f|--format) COMPREPLY=($(compgen -W "table json md txt csv html svg" -- "$cur")); return ;;
        --every) COMPREPLY=($(compgen -W "day week month tag" -- "$cur")); return ;;
        --sort) COMPREPLY=($(compgen -W "code comment mixed blank lines" -- "$cur")); return ;;
        --vcs) COMPREPLY=($(compgen -W "git" -- "$cur")); return ;;
        -o|--output|--languages|--list|--save-list|--cache|--ignored) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --exclude-dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --map|--stdin-name|--exclude|--include-ext|--exclude-ext|--include-lang|--exclude-lang|--max-file-size|--name|-j|--jobs|--since|--until) return ;;
    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "-f --format -o --output --by-file --by-language -p --percent --sort --ascending
            --mixed-as-both --blank-in-block --fortran77 --builtin-only --map --languages --list-languages --list --stdin-name
            --no-ignore --vcs --exclude-dir --no-default-excludes --exclude --include-ext --max-file-size
            --exclude-ext --include-lang --exclude-lang --skip-generated --skip-vendored --ignored --sum
            --skip-duplicates --follow-symlinks --name --save-list -j --jobs --diff --history --since --until --every --cache -q --quiet --version -h --help" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
}
complete -o filenames -F _kordelc kordelc
