#compdef kordelc
# zsh completion for kordelc
_arguments -s \
  '(-f --format)'{-f,--format}'[output format]:format:(table json md txt csv html svg)' \
  '(-o --output)'{-o,--output}'[write the output to FILE]:file:_files' \
  '--by-file[one line per file]' \
  '--by-language[one line per language (the default)]' \
  '(-p --percent)'{-p,--percent}'[add the percentages]' \
  '--sort[order by a count]:key:(code comment mixed blank lines)' \
  '--ascending[sort smallest first]' \
  '--mixed-as-both[count mixed lines also as code and comment]' \
  '--blank-in-block[count blank lines in block comments as blank]' \
  '--fortran77[.f files are Fortran 77]' \
  '--builtin-only[only built-in and user languages, as the desktop counts]' \
  '*--map[count .EXT as the language of .OTHER]:mapping (.EXT=.OTHER):' \
  '--languages[user language database]:file:_files' \
  '--list-languages[print every language and where it comes from]' \
  '--list[count the paths in FILE]:file:_files' \
  '--stdin-name[count standard input as NAME]:name:' \
  '--no-ignore[count what ignore files leave out]' \
  '--vcs[take the files from git]:vcs:(git)' \
  '*--exclude-dir[skip folders that PATTERN matches]:folder:_files -/' \
  '--no-default-excludes[also walk .git, .svn and .hg]' \
  '*--exclude[skip files and folders that PATTERN matches]:pattern:' \
  '--include-ext[only these extensions]:extensions:' \
  '--exclude-ext[leave out these extensions]:extensions:' \
  '*--include-lang[count only this language]:language:' \
  '*--exclude-lang[leave out this language]:language:' \
  '--skip-generated[leave out generated files]' \
  '--skip-vendored[leave out vendored files and documentation]' \
  '--ignored[list every file left out in FILE]:file:_files' \
  '--sum[add up the JSON outputs of kordelc runs named as PATHs]' \
  '--max-file-size[leave out files larger than SIZE]:size:' \
  '--skip-duplicates[count identical files once]' \
  '--diff[count the change from OLD to NEW]:old side:_files:new side:_files' \
  '--history[count every first-parent commit of REV or A..B]::revision:' \
  '--since[history: commits from DATE on]:date:' \
  '--until[history: commits up to DATE]:date:' \
  '--every[history: a point every N commits, or per day, week, month or tag]:sampling:(day week month tag)' \
  '--cache[history: keep blob counts and point totals in FILE]:file:_files' \
  '--follow-symlinks[follow symbolic links]' \
  '--name[project name]:name:' \
  '--save-list[write the counted files as a project list]:file:_files' \
  '(-j --jobs)'{-j,--jobs}'[files counted in parallel]:number:' \
  '(-q --quiet)'{-q,--quiet}'[no progress line and no warnings]' \
  '--version[print the version]' \
  '(-h --help)'{-h,--help}'[print the help]' \
  '*:path:_files'
