#!/usr/bin/env bash
# Fails when a source file includes a header of a layer that its target does not link.
# The layers are read from the CMakeLists.txt files: kordel_expose_headers(TARGET FOLDER) says which
# folder a target's headers are in, target_link_libraries which targets it links. A source belongs
# to the target of the deepest such folder that holds it. Runs on every tracked source, also on those
# that only the Windows build compiles, without building anything. Tests, benchmarks and fuzz
# targets stand outside the layers and may include what they test.
# Then checks that no function of the layers is longer than 80 lines (scripts/function-length.py).
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files -z '*CMakeLists.txt' | xargs -0 cat > "${TMPDIR:-/tmp}/kordel-layers.$$"
trap 'rm -f "${TMPDIR:-/tmp}/kordel-layers.$$"' EXIT

git ls-files '*.cpp' '*.h' '*.inc' | awk -v cmake="${TMPDIR:-/tmp}/kordel-layers.$$" '
function target_of(path,    best, folder) {
    best = ""
    for (folder in owner)
        if (index(path, folder "/") == 1 && length(folder) > length(best)) best = folder
    return best == "" ? "" : owner[best]
}
function name_of(token) { return (token in alias) ? alias[token] : token }
BEGIN {
    text = ""
    while ((getline line < cmake) > 0) {
        sub(/#.*/, "", line)
        text = text " " line
    }
    rest = text
    while (match(rest, /add_library\([ ]*kordel::[A-Za-z0-9_]+[ ]+ALIAS[ ]+[A-Za-z0-9_]+[ ]*\)/)) {
        n = split(substr(rest, RSTART + 12, RLENGTH - 13), w, /[ ]+/)
        k = 0
        for (i = 1; i <= n; i++) if (w[i] != "") v[++k] = w[i]
        alias[v[1]] = v[3]
        rest = substr(rest, RSTART + RLENGTH)
    }
    rest = text
    while (match(rest, /kordel_expose_headers\([^)]*\)/)) {
        n = split(substr(rest, RSTART + 22, RLENGTH - 23), w, /[ ]+/)
        k = 0
        for (i = 1; i <= n; i++) if (w[i] != "") v[++k] = w[i]
        owner[v[2]] = v[1]
        rest = substr(rest, RSTART + RLENGTH)
    }
    rest = text
    while (match(rest, /target_link_libraries\([^)]*\)/)) {
        n = split(substr(rest, RSTART + 22, RLENGTH - 23), w, /[ ]+/)
        first = ""
        for (i = 1; i <= n; i++) {
            if (w[i] == "") continue
            if (first == "") { first = w[i]; continue }
            links[first, name_of(w[i])] = 1
        }
        rest = substr(rest, RSTART + RLENGTH)
    }
    # Every target reaches what the targets it links reach.
    for (folder in owner) layer[owner[folder]] = 1
    do {
        grew = 0
        for (pair in links) {
            split(pair, ab, SUBSEP)
            for (pair2 in links) {
                split(pair2, cd, SUBSEP)
                if (cd[1] == ab[2] && !((ab[1], cd[2]) in links)) { links[ab[1], cd[2]] = 1; grew = 1 }
            }
        }
    } while (grew)
    for (folder in owner) found++
    if (!found) { print "include-check: no kordel_expose_headers() found in the CMakeLists.txt files"; broken = 1; exit 2 }
}
{
    source = $0
    mine = target_of(source)
    number = 0
    while ((getline line < source) > 0) {
        number++
        if (line !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
        header = line
        sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", header)
        sub(/".*/, "", header)
        if (header ~ /(^|\/)\.\.\//) {
            printf "%s:%d: includes \"%s\": headers are named from the top of their layer, not by ..\n", source, number, header
            bad++
            continue
        }
        if (mine == "") continue
        theirs = target_of(header)
        if (theirs == "" || theirs == mine || ((mine, theirs) in links)) continue
        printf "%s:%d: includes \"%s\" of %s, which %s does not link\n", source, number, header, theirs, mine
        bad++
    }
    close(source)
    checked++
}
END {
    if (broken) exit 2
    if (bad) { printf "include-check: %d include(s) across layers\n", bad; exit 1 }
    printf "include-check: %d sources, every include within the layers its target links\n", checked
}'

python3 scripts/function-length.py
