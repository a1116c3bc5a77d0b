#!/usr/bin/env bash
# Cross-builds the installation helpers for Windows and runs them under wine in the installer's
# order (udsave, quietuninst, new files, udrestore, udmigrate) against uninstall keys set with
# `wine reg add`; each must exit 0 and the converted database must equal the expected file byte for
# byte. First, with a temporary folder that does not exist, udsave must exit 1 and quietuninst 2.
# Needs the mingw-w64 toolchain and wine (Debian: g++-mingw-w64-x86-64-posix wine wine64).
# KORDEL_MINGW_BUILD names the cross build to use (default build-windows, windows-test.sh's): an
# existing one is used as it is configured, a new one is configured for the helpers only.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
build=${KORDEL_MINGW_BUILD:-build-windows}
data=tests/installhelpers/data
fail() { echo "wine-check: FAILED: $*" >&2; exit 1; }

if [[ -f $build/CMakeCache.txt ]]; then
  grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-w64\.cmake$' "$build/CMakeCache.txt" || fail "$build is no mingw-w64 build"
else
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKORDEL_BUILD_GUI=OFF -DKORDEL_BUILD_TESTS=OFF -DKORDEL_HELPERS_ONLY=ON --no-warn-unused-cli >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target udsave quietuninst udrestore udmigrate
helpers=$PWD/$build/installhelpers
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -o "$build/fake_uninstaller.exe" \
  tests/installhelpers/fake_uninstaller.cpp

# A fresh wine prefix of our own, without the mono and gecko installers, stopped again at the end.
export WINEPREFIX=$PWD/$build/wineprefix-helpers WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >/dev/null 2>&1
drive=$WINEPREFIX/drive_c
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

# The earlier installation, registered by a 32-bit setup (so in the 32-bit view), in a folder whose
# path is longer than 99 characters, with its database in the earlier layout and an uninstaller
# whose command is longer than 256 characters and holds what a command interpreter would change.
old="Old Kordel $(printf 'x%.0s' {1..100})"
pad="/PAD=$(printf 'p%.0s' {1..300})"
mkdir -p "$drive/$old" "$drive/Kordel Current"
cp "$data/udlangdb-earlier.ini" "$drive/$old/udlangdb.ini"
cp "$build/fake_uninstaller.exe" "$drive/$old/unins000.exe"
wine reg add "$uninstall\\Kordel_is1" /reg:32 /f /v InstallLocation /t REG_SZ /d "C:\\$old\\" >/dev/null
wine reg add "$uninstall\\Kordel_is1" /reg:32 /f /v QuietUninstallString /t REG_SZ \
  /d "\"C:\\$old\\unins000.exe\" /VERYSILENT /LOG=a&b 100% x^y $pad" >/dev/null
# The current installation, registered in the 64-bit view; its folder is not yet filled.
wine reg add "$uninstall\\Kordel" /reg:64 /f /v UninstallString /t REG_SZ \
  /d '"C:\Kordel Current\unins000.exe"' >/dev/null

temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
rm -f "$temp/udlangdb.ini"

# Exit status of a helper, without stopping the script.
status_of() { local s=0; wine "$helpers/$1.exe" >/dev/null || s=$?; echo "$s"; }

# A temporary folder that does not exist: udsave must fail, quietuninst must refuse to run the
# uninstaller, and the earlier installation keeps its database.
wintemp=$(winepath -w "$temp")
env_key='HKCU\Environment'
for v in TEMP TMP; do wine reg add "$env_key" /f /v $v /t REG_SZ /d 'C:\no such folder' >/dev/null; done
[[ $(status_of udsave) == 1 ]] || fail "udsave did not report the copy it could not make"
[[ $(status_of quietuninst) == 2 ]] || fail "quietuninst did not refuse without a saved copy"
for v in TEMP TMP; do wine reg add "$env_key" /f /v $v /t REG_SZ /d "$wintemp" >/dev/null; done
[[ ! -e "$drive/uninstall-mark.txt" ]] || fail "quietuninst ran the uninstaller without a saved copy"
cmp -s "$drive/$old/udlangdb.ini" "$data/udlangdb-earlier.ini" || fail "the earlier database was lost"

wine "$helpers/udsave.exe"
cmp -s "$temp/udlangdb.ini" "$data/udlangdb-earlier.ini" || fail "udsave left no copy in $temp"

wine "$helpers/quietuninst.exe"
mark="$drive/uninstall-mark.txt"
[[ -f $mark ]] || fail "quietuninst did not run the uninstaller, or did not wait for it"
printf '/VERYSILENT\n/LOG=a&b\n100%%\nx^y\n%s\n' "$pad" | cmp -s - "$mark" || fail "the uninstaller got other arguments: $(cat "$mark")"
[[ ! -e "$drive/$old/udlangdb.ini" ]] || fail "the uninstaller did not remove the earlier database"

wine "$helpers/udrestore.exe"
cmp -s "$drive/Kordel Current/udlangdb.ini" "$data/udlangdb-earlier.ini" || fail "udrestore did not restore the database"
[[ ! -e "$temp/udlangdb.ini" ]] || fail "udrestore kept the temporary copy"

wine "$helpers/udmigrate.exe"
cmp "$drive/Kordel Current/udlangdb.ini" "$data/udlangdb-expected.ini" || fail "udmigrate's result differs"
# A second run (a reinstall) must leave the converted database as it is.
wine "$helpers/udrestore.exe"
wine "$helpers/udmigrate.exe"
cmp "$drive/Kordel Current/udlangdb.ini" "$data/udlangdb-expected.ini" || fail "a second run changed the database"
[[ $(ls "$drive/Kordel Current") == udlangdb.ini ]] || fail "work files left in the installation folder"

echo "wine-check: passed in $((SECONDS - started)) s"
