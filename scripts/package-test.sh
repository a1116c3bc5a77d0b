#!/usr/bin/env bash
# Installs the packages that scripts/package.sh built, runs both programs from them and purges them.
# Usage: scripts/package-test.sh [build-dir]   (as root on Debian 12)
set -euo pipefail
cd "$(dirname "$0")/.."
debs=$(realpath "${1:-build-package}")/debs
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
cleanup() {
  [ -n "${kordel_pid:-}" ] && kill "$kordel_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "== install"
apt-get install -y -qq "$debs"/kordelc_*.deb "$debs"/kordel_*.deb >/dev/null
dpkg-query -W -f='${Package} ${Version} ${Status}\n' kordelc kordel

echo "== kordelc"
kordelc --version
# Run as root from /usr/bin: kordelc's table of further languages counts Go, Rust and shell files.
counted=$(cd examples/pack-sample && kordelc --by-language .)
echo "$counted"
for language in Go Rust Shell; do
  grep -qi "^$language" <<<"$counted" || { echo "kordelc did not count $language" >&2; exit 1; }
done
# The manual pages, as the package database lists them (dpkg may be set to leave such files out).
dpkg -L kordelc kordel | grep '/man1/'

echo "== Kordel"
# Offscreen, with a project list named on the command line; a second start hands another list over
# to it and ends at once without a message.
sample=$(realpath examples/sample.kpl)
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
Kordel "$sample" >"$work/first.log" 2>&1 &
kordel_pid=$!
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/kordel.socket" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/kordel.socket" ] || { echo "Kordel did not come up" >&2; cat "$work/first.log" >&2; exit 1; }
if timeout 10 Kordel "$sample"; then
  echo "a second start handed its list to the running copy and ended"
else
  echo "a second start did not hand its list over" >&2
  exit 1
fi
kill -0 "$kordel_pid" || { echo "Kordel did not keep running" >&2; exit 1; }
kill "$kordel_pid"
wait "$kordel_pid" 2>/dev/null || true
kordel_pid=
echo "Kordel started, took a list from a second start and ran until stopped"

echo "== purge"
apt-get purge -y -qq kordel kordelc >/dev/null
for f in /usr/bin/kordelc /usr/bin/Kordel /usr/share/kordel /usr/share/doc/kordel /usr/share/doc/kordelc; do
  [ ! -e "$f" ] || { echo "left behind after purge: $f" >&2; exit 1; }
done
if dpkg-query -W kordel kordelc >/dev/null 2>&1; then
  dpkg-query -W -f='${Package} ${Status}\n' kordel kordelc | grep -v 'not-installed' && exit 1
fi
echo "purged: no file of either package is left"
