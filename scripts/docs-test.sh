#!/usr/bin/env bash
# Checks the documentation against the program it documents:
# - every long option of `kordelc --help` stands in doc/KORDELC.md's option tables, and every option
#   those tables name is one kordelc has;
# - every fenced sh block of README.md and doc/*.md that follows a `<!-- docs-test -->` line runs
#   without error, in a repository of this one's committed files, with the kordelc given first on PATH.
# Usage: scripts/docs-test.sh KORDELC
set -euo pipefail
cd "$(dirname "$0")/.."
kordelc=$(realpath "$1")
fail() { echo "docs-test: FAILED: $*" >&2; exit 1; }

help_options=$("$kordelc" --help | grep -o -- '--[a-z][a-z0-9-]*' | sort -u)
guide_options=$(grep '^| `-' doc/KORDELC.md | cut -d'|' -f2 | grep -o -- '--[a-z][a-z0-9-]*' | sort -u)
missing=$(comm -23 <(echo "$help_options") <(echo "$guide_options"))
unknown=$(comm -13 <(echo "$help_options") <(echo "$guide_options"))
[ -z "$missing" ] || fail "options of kordelc --help missing from doc/KORDELC.md: $(echo $missing)"
[ -z "$unknown" ] || fail "options in doc/KORDELC.md that kordelc --help lacks: $(echo $unknown)"
echo "docs-test: doc/KORDELC.md names the $(wc -l <<<"$help_options") options of kordelc --help"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The blocks run in a repository of their own, made from the committed files in two commits, so that
# revisions such as HEAD~1 exist however this checkout was cloned (a CI's shallow clone has one commit).
mkdir "$work/repo"
git archive HEAD | tar -x -C "$work/repo"
(
  cd "$work/repo"
  export GIT_AUTHOR_NAME=docs-test GIT_AUTHOR_EMAIL=docs-test@localhost GIT_AUTHOR_DATE=@1700000000
  export GIT_COMMITTER_NAME=docs-test GIT_COMMITTER_EMAIL=docs-test@localhost GIT_COMMITTER_DATE=@1700000000
  git init -q
  git add . ':!doc' && git commit -qm "all but doc"
  git add . && GIT_COMMITTER_DATE=@1700086400 git commit -qm "doc"
)
bin=$work/bin
mkdir -p "$bin"
ln -s "$kordelc" "$bin/kordelc"
blocks=0
for page in README.md doc/*.md; do
  # The marked blocks of a page, one file each.
  awk -v out="$work/block-${page//\//_}" '
    /^<!-- docs-test -->$/ { marked = 1; next }
    marked && /^```sh$/ { n++; file = sprintf("%s-%d.sh", out, n); inside = 1; marked = 0; next }
    inside && /^```$/ { inside = 0; close(file); next }
    inside { print > file; next }
    { marked = 0 }' "$page"
done
for block in "$work"/block-*.sh; do
  [ -e "$block" ] || continue
  blocks=$((blocks + 1))
  if ! (cd "$work/repo" && PATH="$bin:$PATH" bash -euo pipefail "$block" >"$work/out" 2>&1); then
    cat "$work/out" >&2
    fail "$(basename "$block"): $(cat "$block")"
  fi
done
[ "$blocks" -gt 0 ] || fail "no block is marked <!-- docs-test -->"
echo "docs-test: $blocks marked command blocks ran"
