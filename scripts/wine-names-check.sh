#!/usr/bin/env bash
# kordelc.exe under wine with é, 日本 and an emoji in every path it meets: a file named on the command
# line, a folder walk, a project list saved and read back, a report, a database named by --languages,
# and the database beside the program (a folder the user can write holds a portable copy's database).
# Each path crosses into Windows as UTF-16; a path made in the ANSI code page would come out as "?"
# or not be found at all.
# KORDEL_MINGW_BUILD names the cross build (default build-windows); kordelc.exe must be built there.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
build=${KORDEL_MINGW_BUILD:-build-windows}
fail() { echo "wine-names-check: FAILED: $*" >&2; exit 1; }
[[ -f $build/cli/kordelc.exe ]] || fail "no $build/cli/kordelc.exe"
# Wine turns the names of this side into UTF-16 by the locale: it must be a UTF-8 one.
export LC_ALL=C.UTF-8
export WINEPREFIX=$PWD/$build/wineprefix-names WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
[[ -d $WINEPREFIX ]] || wineboot -i >/dev/null 2>&1

name='kt é 日本 🎉'
root=$WINEPREFIX/drive_c/$name
win="C:\\$name"
rm -rf "$root"
mkdir -p "$root/src/café/日本" "$root/bin ü" "$root/appdata"
cp examples/sample/hello.c "$root/src/café/日本/🎉.c"
cp examples/sample/Quote.java "$root/src/café/Quoté.java"
cp examples/userlang/greet.sh "$root/src/grüß.sh"
cp "$build/cli/kordelc.exe" "$root/bin ü/"
kordelc=("wine" "$root/bin ü/kordelc.exe")
run() { "${kordelc[@]}" "$@" 2>"$root/stderr.txt" | tr -d '\r'; }

# One file named on the command line: found, counted, and its name printed as it is.
out=$(run --by-file "$win\\src\\café\\日本\\🎉.c")
grep -qF "🎉.c	3	2	2	1	8" <<<"$out" || fail "a named file: $out $(cat "$root/stderr.txt")"

# A folder walk finds and counts both files; the database named by --languages counts the third.
cp examples/udlangdb.ini "$root/appdata/名前 é.ini"
out=$(run --by-file --languages "$win\\appdata\\名前 é.ini" "$win\\src")
for row in "Quoté.java	4	1	1	1	7" "🎉.c	3	2	2	1	8" "grüß.sh	0	2	1	1	4" "Total	7	5	4	3	19"; do
  grep -qF "$row" <<<"$out" || fail "the walk lacks '$row': $out $(cat "$root/stderr.txt")"
done

# A project list saved with such names, read back, and reported as CSV into such a folder.
run -q --languages "$win\\appdata\\名前 é.ini" --save-list "$win\\liste 日本.kpl" "$win\\src" >/dev/null
[[ -s $root/liste\ 日本.kpl ]] || fail "no project list saved: $(cat "$root/stderr.txt")"
grep -qF "$win\\src\\café\\日本\\🎉.c" <(tr -d '\r' <"$root/liste 日本.kpl") || fail "the list lacks the emoji path"
run -q --languages "$win\\appdata\\名前 é.ini" -f csv -o "$win\\rapport é.csv" "$win\\liste 日本.kpl" >/dev/null
grep -qF '🎉.c' "$root/rapport é.csv" || fail "the report lacks the emoji path: $(cat "$root/stderr.txt")"
grep -qF 'grüß.sh' "$root/rapport é.csv" || fail "the report lacks grüß.sh"

# The default database of a copy in a folder the user can write: the one beside the program.
cp examples/udlangdb.ini "$root/bin ü/udlangdb.ini"
out=$(run --by-file "$win\\src\\grüß.sh")
grep -qF "grüß.sh	0	2	1	1	4" <<<"$out" || fail "the database beside the program: $out $(cat "$root/stderr.txt")"

echo "wine-names-check: passed in $((SECONDS - started)) s"
