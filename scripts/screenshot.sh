#!/usr/bin/env bash
# Starts Kordel under Xvfb with the sample project list re-opened and counted, and saves a screenshot.
# Usage: scripts/screenshot.sh [build-dir] [output.png] [percent|plain] [screen size, 1280x800]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/screenshot.png}
columns=${3:-percent}
screen=${4:-1280x800}
if ! command -v xwd >/dev/null || ! dpkg -s imagemagick >/dev/null 2>&1 || ! command -v Xvfb >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb x11-apps imagemagick >/dev/null
fi
[ -x "$build/ui/qt/Kordel" ] || { echo "build Kordel first: cmake --build $build" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
# Settings of a fresh user that re-open the sample list at start and count it.
mkdir -p "$work/config/kordel"
printf '[Kordel]\r\nacpl=1\r\nllp=1\r\nlsp=%s\r\nsps=%d\r\n' "$PWD/examples/sample.kpl" \
  "$([ "$columns" = percent ] && echo 1 || echo 0)" > "$work/config/kordel/kordel.ini"

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp &
xvfb=$!
sleep 1
DISPLAY=$display XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$build/ui/qt/Kordel" &
app=$!
sleep 6
mkdir -p "$(dirname "$out")"
/usr/bin/convert xwd:<(xwd -root -display "$display") "$out" 2>/dev/null || xwd -root -display "$display" | /usr/bin/convert xwd:- "$out"
echo "saved $out"
