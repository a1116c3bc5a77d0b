#!/usr/bin/env bash
# Builds a release's downloads into dist/ (or the folder given):
#   the Debian source and binary packages (scripts/package.sh),
#   kordel-setup.exe, the Windows installer, and kordel-<version>-windows-portable.zip (Kordel.exe,
#   kordelc.exe and the manual: a copy unpacked into a writable folder keeps its languages beside itself),
#   SHA256SUMS over all of them, and RELEASE-NOTES.md from the newest debian/changelog entry.
# Usage: scripts/release.sh [dist-dir]   (Debian 12 as root: installs what the builds need)
# KORDEL_PACKAGES=DIR takes the Debian packages that scripts/package.sh already built into DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(realpath -m "${1:-dist}")
windows=${KORDEL_WINDOWS_BUILD:-build-windows}
export DEBIAN_FRONTEND=noninteractive
need=()
for p in zip g++-mingw-w64-x86-64-posix nsis; do dpkg -s "$p" >/dev/null 2>&1 || need+=("$p"); done
[ ${#need[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null

version=$(dpkg-parsechangelog -S Version)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -S Timestamp)}
rm -rf "$dist"
mkdir -p "$dist"

packages=${KORDEL_PACKAGES:-}
if [ -z "$packages" ]; then
  scripts/package.sh build-package
  packages=build-package/debs
fi
cp "$packages"/*.deb "$packages"/*.tar.* "$packages"/*.dsc "$dist/"

cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKORDEL_BUILD_GUI=OFF -DKORDEL_BUILD_TESTS=OFF -DKORDEL_HELPERS_ONLY=OFF --no-warn-unused-cli >/dev/null
cmake --build "$windows" -j"$(nproc)" --target kordel-setup
cp "$windows/kordel-setup.exe" "$dist/kordel-$version-setup.exe"

# The portable copy: no helpers (nothing to carry across an installation), files dated from the changelog.
portable=$windows/portable/kordel-$version
rm -rf "$windows/portable"
mkdir -p "$portable"
cp "$windows/ui/win32/Kordel.exe" "$windows/cli/kordelc.exe" "$windows/generated/kordel-manual.html" "$portable/"
touch -d "@$SOURCE_DATE_EPOCH" "$portable" "$portable"/*
(cd "$windows/portable" && TZ=UTC zip -X -q -r "$dist/kordel-$version-windows-portable.zip" "kordel-$version")

# Release notes: the newest changelog entry's items.
{
  echo "# Kordel $version"
  echo
  dpkg-parsechangelog -S Changes | sed -n '4,$p' | sed 's/^ //; s/^  \*/-/; s/^    /  /; /^\.$/d'
} > "$dist/RELEASE-NOTES.md"

(cd "$dist" && sha256sum -- *.deb *.dsc *.tar.* *.exe *.zip > SHA256SUMS)
ls -l "$dist"
