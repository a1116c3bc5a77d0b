#!/usr/bin/env bash
# Builds the Debian package, checks its contents, installs it and starts both programs from it.
# Usage: scripts/package.sh [build-dir]   (as root on Debian 12; installs what it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
export DEBIAN_FRONTEND=noninteractive
need=()
for p in cmake g++ make dpkg-dev qt6-base-dev libcli11-dev nlohmann-json3-dev xvfb; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then apt-get update -qq && apt-get install -y -qq "${need[@]}" >/dev/null; fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kordel_*.deb | head -n1)
echo "package: $deb"
dpkg-deb -I "$deb" | sed -n 's/^ *\(Package\|Version\|Depends\):/\1:/p'
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$')
echo "contents:"
echo "$contents"
for f in ./usr/bin/Kordel ./usr/bin/kordelc ./usr/share/applications/kordel.desktop \
         ./usr/share/mime/packages/kordel.xml ./usr/share/man/man1/kordelc.1 \
         ./usr/share/doc/kordel/kordel-manual.html ./usr/share/kordel/language-pack.ini; do
  grep -qx "$f" <<<"$contents" || { echo "missing from the package: $f" >&2; exit 1; }
done

apt-get install -y -qq "./$deb" >/dev/null
kordelc --version
kordelc --languages /usr/share/kordel/language-pack.ini examples/pack-sample | tail -n1
# The desktop program comes up under a virtual display and keeps running until it is stopped.
work=$(mktemp -d)
XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen timeout 5 Kordel && status=0 || status=$?
rm -rf "$work"
[ "$status" -eq 124 ] || { echo "Kordel did not stay up (exit $status)" >&2; exit 1; }
echo "Kordel started and ran until stopped"
