#!/usr/bin/env bash
# Builds the source package and the binary packages with debhelper (debian/) and checks them with lintian:
#   kordelc_<version>_<arch>.deb  the command line, its manual page and completions
#   kordel_<version>_<arch>.deb   the desktop program (depends on kordelc)
# and their -dbgsym packages. Usage: scripts/package.sh [out-dir]   (Debian 12; installs the build's
# packages when run as root). Everything lands in <out-dir>/debs (default build-package/debs);
# scripts/package-test.sh installs, runs and purges the packages.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")/debs
export DEBIAN_FRONTEND=noninteractive
if ! missing=$(dpkg-checkbuilddeps 2>&1); then
  need=$(sed -n 's/.*Unmet build dependencies: //p' <<<"$missing" | sed 's/([^)]*)//g')
  apt-get install -y -qq --no-install-recommends dpkg-dev debhelper lintian $need >/dev/null
fi
source=$(dpkg-parsechangelog -S Source)
version=$(dpkg-parsechangelog -S Version)
project_version=$(sed -n 's/^project(Kordel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The changelog is history: its newest entry must be the version being packaged.
if [ "$version" != "$project_version" ]; then
  echo "package.sh: debian/changelog starts at $version, the project is $project_version: add an entry" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
# dpkg-buildpackage writes next to the source tree; the results are moved to $out at once.
parent=$(dirname "$PWD")
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=$(nproc)}
dpkg-buildpackage -us -uc
rm -rf "$out"
mkdir -p "$out"
changes=${source}_${version}_${arch}.changes
# The .changes lists every file of the upload, the .buildinfo included.
for f in $(sed -n '/^Files:/,/^[^ ]/s/^ [0-9a-f]* [0-9]* [^ ]* [^ ]* //p' "$parent/$changes") "$changes"; do
  mv "$parent/$f" "$out/"
done
ls -l "$out"

for f in ./usr/bin/kordelc ./usr/share/man/man1/kordelc.1.gz; do
  dpkg-deb -c "$out/kordelc_${version}_${arch}.deb" | awk '{print $6}' | grep -qx "$f" || { echo "kordelc lacks $f" >&2; exit 1; }
done
for f in ./usr/bin/Kordel ./usr/share/man/man1/Kordel.1.gz ./usr/share/applications/kordel.desktop \
         ./usr/share/mime/packages/kordel.xml ./usr/share/doc/kordel/kordel-manual.html \
         ./usr/share/metainfo/example.brevlane.kordel.metainfo.xml; do
  dpkg-deb -c "$out/kordel_${version}_${arch}.deb" | awk '{print $6}' | grep -qx "$f" || { echo "kordel lacks $f" >&2; exit 1; }
done
if dpkg-deb -f "$out/kordelc_${version}_${arch}.deb" Depends | grep -qi qt; then
  echo "kordelc must not depend on Qt" >&2
  exit 1
fi

echo "appstreamcli validate --pedantic:"
appstreamcli validate --pedantic --no-net packaging/example.brevlane.kordel.metainfo.xml
echo "lintian --pedantic --display-info on $changes:"
report=$(lintian --pedantic --display-info --tag-display-limit 0 "$out/$changes" 2>&1 || true)
echo "${report:-(no tags)}"
if grep -q '^[EW]:' <<<"$report"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
