#!/usr/bin/env bash
# Builds the two Debian packages and checks them with lintian:
#   kordelc_<version>_<arch>.deb  the command line, its manual page and completions
#   kordel_<version>_<arch>.deb   the desktop program (depends on kordelc)
# Usage: scripts/package.sh [build-dir]   (Debian 12; installs the build packages it lacks when root)
# The packages land in <build-dir>/debs. scripts/package-test.sh installs, runs and purges them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
export DEBIAN_FRONTEND=noninteractive
need=()
for p in cmake g++ make dpkg-dev file qt6-base-dev libcli11-dev nlohmann-json3-dev lintian; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

version=$(sed -n 's/^project(Kordel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The changelog is history: its newest entry must be the version being packaged.
changelog_version=$(sed -n '1s/^kordel (\([^)]*\)).*/\1/p' packaging/debian/changelog)
if [ "$changelog_version" != "$version" ]; then
  echo "package.sh: packaging/debian/changelog starts at $changelog_version, the project is $version: add an entry" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
# Debian's hardening flags: fortified functions, stack protector, full RELRO and immediate binding
# (PIE is the compiler's default). No debug information: the programs are stripped anyway.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
CXXFLAGS=$(sed 's/\(^\| \)-g\( \|$\)/ /' <<<"$CXXFLAGS")
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
  -DCMAKE_POSITION_INDEPENDENT_CODE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

out=$(realpath "$build")/debs
stage=$(realpath "$build")/stage
rm -rf "$out" "$stage"
mkdir -p "$out"

# One package: what CMake installs for the component, made fit for Debian.
make_package() {
  local pkg=$1 depends_extra=$2 recommends=$3 section=$4 synopsis=$5 description=$6
  local root=$stage/$pkg
  DESTDIR=$root cmake --install "$build" --component "$pkg" >/dev/null
  # Stripped programs; compressed manual pages; the copyright and changelog every package carries.
  find "$root" -type f -exec sh -c 'file -b "$1" | grep -q "^ELF"' _ {} \; -print | while read -r f; do
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$f"
  done
  find "$root/usr/share/man" -type f ! -name '*.gz' -exec gzip -9n {} + 2>/dev/null || true
  install -Dm644 packaging/debian/copyright "$root/usr/share/doc/$pkg/copyright"
  # A package with an HTML manual registers it with doc-base.
  if [ -f "packaging/debian/$pkg.doc-base" ]; then
    install -Dm644 "packaging/debian/$pkg.doc-base" "$root/usr/share/doc-base/$pkg.$pkg-manual"
  fi
  gzip -9nc packaging/debian/changelog >"$root/usr/share/doc/$pkg/changelog.gz"
  find "$root" -type d -exec chmod 0755 {} +
  find "$root" -type f -exec chmod 0644 {} +
  [ -d "$root/usr/bin" ] && chmod 0755 "$root"/usr/bin/*

  # Library dependencies of the programs, as dpkg-shlibdeps finds them.
  local shlibs="" elves
  elves=$(find "$root" -type f -exec sh -c 'file -b "$1" | grep -q "^ELF"' _ {} \; -print)
  if [ -n "$elves" ]; then
    local work
    work=$(mktemp -d)
    mkdir -p "$work/debian"
    printf 'Source: kordel\n\nPackage: %s\nArchitecture: any\n' "$pkg" >"$work/debian/control"
    # shellcheck disable=SC2086
    shlibs=$(cd "$work" && dpkg-shlibdeps -O $elves | sed -n 's/^shlibs:Depends=//p')
    rm -rf "$work"
  fi
  local depends=$shlibs
  [ -n "$depends_extra" ] && depends="${depends:+$depends, }$depends_extra"

  mkdir -p "$root/DEBIAN"
  {
    echo "Package: $pkg"
    echo "Source: kordel"
    echo "Version: $version"
    echo "Architecture: $arch"
    echo "Maintainer: Kordel developers <kordel@brevlane.example>"
    echo "Installed-Size: $(du -sk --apparent-size "$root" | cut -f1)"
    [ -n "$depends" ] && echo "Depends: $depends"
    [ -n "$recommends" ] && echo "Recommends: $recommends"
    echo "Section: $section"
    echo "Priority: optional"
    echo "Homepage: https://brevlane.example/kordel/"
    echo "Description: $synopsis"
    fold -s -w 72 <<<"$description" | sed 's/ *$//; s/^/ /'
  } >"$root/DEBIAN/control"
  (cd "$root" && find . -type f ! -path './DEBIAN/*' -printf '%P\0' | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
  chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
  dpkg-deb --root-owner-group -Zxz --build "$root" "$out/${pkg}_${version}_${arch}.deb" >/dev/null
  echo "$out/${pkg}_${version}_${arch}.deb"
}

make_package kordelc "" "" devel "count code, comment, mixed and blank lines of source files" \
  "kordelc counts every line of source files as code, comment, mixed (code and a comment on one line) or blank, by the comment rules of the desktop program's 61 languages, of languages the user describes and of more than 300 further languages, chosen by file extension, file name and #! line. It walks folders, reads Kordel project lists and git file lists, and writes a table, JSON, or the text, CSV and HTML reports of the desktop program Kordel."
make_package kordel "kordelc (= $version)" "xdg-utils" devel "desktop line counter for source files" \
  "Kordel shows a list of source files and, after a count, the code, comment, mixed and blank lines of each with the sums of the whole project. Lists are saved as project lists (.kpl) that the file manager opens with Kordel; results are sorted by any column and exported as a text report, a CSV file or an HTML page. Further languages are described in a dialog."

echo "contents:"
for deb in "$out"/*.deb; do
  echo "$(basename "$deb"):"
  dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ {print "  " $6}'
done
for f in ./usr/bin/kordelc ./usr/share/man/man1/kordelc.1.gz; do
  dpkg-deb -c "$out/kordelc_${version}_${arch}.deb" | awk '{print $6}' | grep -qx "$f" || { echo "kordelc lacks $f" >&2; exit 1; }
done
for f in ./usr/bin/Kordel ./usr/share/man/man1/Kordel.1.gz ./usr/share/applications/kordel.desktop \
         ./usr/share/mime/packages/kordel.xml ./usr/share/doc/kordel/kordel-manual.html; do
  dpkg-deb -c "$out/kordel_${version}_${arch}.deb" | awk '{print $6}' | grep -qx "$f" || { echo "kordel lacks $f" >&2; exit 1; }
done
if dpkg-deb -f "$out/kordelc_${version}_${arch}.deb" Depends | grep -qi qt; then
  echo "kordelc must not depend on Qt" >&2
  exit 1
fi

echo "lintian --pedantic --display-info:"
report=$(lintian --pedantic --display-info --tag-display-limit 0 "$out"/*.deb 2>&1 || true)
echo "${report:-(no tags)}"
if grep -q '^[EW]:' <<<"$report"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
