#!/usr/bin/env bash
# Shows that a change to kordelc leaves its outputs as they were, byte for byte.
#
#   scripts/outputs-unchanged.sh capture KORDELC FOLDER [KERNEL-TREE]
#       runs KORDELC over a fixed revision of this repository, over tests/data and (when given) over
#       a kernel tree, in every format, with --by-file, --diff, git:REV and --history, and keeps each
#       run's output, messages and exit status in FOLDER.
#   scripts/outputs-unchanged.sh compare BEFORE AFTER
#       compares two such folders; exits 0 when every run answered the same.
#
# The repository is counted at KORDEL_OUTPUTS_REV (default: the commit this script was first written
# on), exported into a temporary folder, so the change itself does not change what is counted.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
rev=${KORDEL_OUTPUTS_REV:-d3a2e01}

usage() {
    echo "usage: $0 capture KORDELC FOLDER [KERNEL-TREE] | compare BEFORE AFTER" >&2
    exit 2
}

# One run: NAME, the folder to run in, then kordelc's arguments.
run() {
    local name=$1 where=$2
    shift 2
    local status=0
    (cd "$where" && "$kordelc" "$@") > "$folder/$name.out" 2> "$folder/$name.err" || status=$?
    echo "$status" > "$folder/$name.status"
    printf '%s\n' "${*//$folder/FOLDER}" > "$folder/$name.args"
}

# Every format of a count, per language and per file, with and without a few of the options that
# change the rows.
run_counts() {
    local prefix=$1 where=$2 path=$3
    local format
    for format in table json md txt csv html; do
        run "$prefix.$format" "$where" -q -j 2 -f "$format" "$path"
        run "$prefix.$format.by-file" "$where" -q -j 2 -f "$format" --by-file "$path"
    done
    run "$prefix.by-language-csv" "$where" -q -f csv --by-language "$path"
    run "$prefix.percent-sort" "$where" -q -p --sort code "$path"
    run "$prefix.by-file-sort-ascending" "$where" -q --by-file --sort lines --ascending "$path"
    run "$prefix.percent-json" "$where" -q -p -f json --by-file "$path"
    run "$prefix.filters" "$where" -q --by-file --exclude-ext .md,.txt --skip-vendored --skip-generated \
        --exclude-lang 'C++' --ignored "$folder/$prefix.filters.ignored" "$path"
}

capture() {
    local kernel=${1:-}
    [ -z "$kernel" ] || kernel=$(realpath "$kernel")
    mkdir -p "$folder"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # Two exported revisions for the folder diff; the newer is also the counted tree.
    mkdir "$work/new" "$work/old"
    git archive "$rev" | tar -x -C "$work/new"
    git archive "$rev~40" | tar -x -C "$work/old"
    echo "$rev" > "$folder/revision"

    run_counts repo "$work/new" .
    run_counts data "$repo" tests/data
    run repo.no-ignore "$work/new" -q --no-ignore --by-file .
    run repo.exclude "$work/new" -q --by-file --exclude 'engine/**/*.cpp' --exclude-dir tests .
    run repo.max-size-duplicates "$work/new" -q --by-file --max-file-size 4K --skip-duplicates .
    run repo.map "$work/new" -q --map .inc=.c --by-file engine
    git ls-files tests/data examples | sed -n 1,40p > "$folder/list.txt"
    run repo.list "$repo" -q --by-file --list "$folder/list.txt"
    run repo.kpl "$repo" -q -f csv examples/sample.kpl
    # The default database is the one beside the program: each run names the same one instead.
    run list-languages "$repo" --list-languages --languages examples/udlangdb.ini
    run help "$repo" --help
    run usage-error "$repo" --sort size .
    run usage-error-diff "$repo" --diff a b -f txt

    # Folder diffs and diffs of revisions read from git, in every format a diff prints.
    local format
    for format in table md csv json; do
        run "diff-folders.$format" "$work" -q -f "$format" --diff old new
        run "diff-folders.$format.by-file" "$work" -q -f "$format" --by-file --diff old new
        run "diff-git.$format" "$repo" -q -f "$format" --diff "git:$rev~40" "git:$rev"
        run "diff-git.$format.by-file" "$repo" -q -f "$format" --by-file --diff "git:$rev~40" "git:$rev"
    done
    run diff-git-path "$repo" -q --by-file --diff "git:$rev~40:cli" "git:$rev:cli"
    run diff-mixed "$repo" -q --by-file --diff "git:$rev~40:engine" engine

    # A revision's files read from git, without a checkout.
    for format in table json md txt csv html; do
        run "git-rev.$format" "$repo" -q -f "$format" "git:$rev"
        run "git-rev.$format.by-file" "$repo" -q -f "$format" --by-file "git:$rev:engine"
    done

    # The history of the revisions before it.
    for format in table csv json svg; do
        run "history.$format" "$repo" -q -f "$format" --history "$rev~60..$rev" --every 10
    done
    run history-month "$repo" -q --history "$rev~30..$rev" --every month

    if [ -n "$kernel" ]; then
        for format in table json md txt csv html; do
            run "kernel.$format" "$kernel" -q -f "$format" .
        done
        run kernel.by-file "$kernel" -q --by-file .
    fi
    echo "captured $(ls "$folder"/*.status | wc -l) runs of $kordelc into $folder"
}

# The text report carries the date and time of its run; they are the only lines masked.
masked() {
    case "$1" in
        *.txt.out | *.txt.by-file.out) sed -E 's#^Date: [0-9]{2}/[0-9]{2}/[0-9]{4}(\r?)$#Date: -\1#; s#^Time: [0-9]{1,2}:[0-9]{2} [AP]M(\r?)$#Time: -\1#' "$1" ;;
        *) cat "$1" ;;
    esac
}

compare() {
    local before=$1 after=$2 differ=0 same=0 file name
    for file in "$before"/*; do
        name=$(basename "$file")
        if [ ! -e "$after/$name" ]; then
            echo "missing in $after: $name"
            differ=$((differ + 1))
        elif cmp -s <(masked "$file") <(masked "$after/$name"); then
            same=$((same + 1))
        else
            echo "differs: $name"
            differ=$((differ + 1))
        fi
    done
    for file in "$after"/*; do
        [ -e "$before/$(basename "$file")" ] || { echo "missing in $before: $(basename "$file")"; differ=$((differ + 1)); }
    done
    echo "outputs-unchanged: $same identical, $differ differ"
    [ "$differ" -eq 0 ]
}

case "${1:-}" in
    capture)
        [ $# -ge 3 ] || usage
        kordelc=$(realpath "$2")
        folder=$(realpath -m "$3")
        capture "${4:-}"
        ;;
    compare)
        [ $# -eq 3 ] || usage
        compare "$2" "$3"
        ;;
    *) usage ;;
esac
