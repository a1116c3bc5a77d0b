#!/usr/bin/env bash
# Builds kordel-setup.exe in the Windows cross build and runs it under wine in a fresh prefix:
#  1. a fresh silent install: files (no language pack, no database), uninstall key (64-bit view),
#     .kpl type, Start menu entry; a stale saved database in the temporary folder is not taken for
#     the user's;
#  2. uninstalling it leaves nothing;
#  3. an upgrade whose temporary folder cannot be written stops before touching the earlier
#     installation (32-bit key Kordel_is1, earlier-layout database) and installs nothing;
#  4. the same upgrade with a usable temporary folder: the user's two languages arrive in the
#     current layout, the earlier folder and key are gone, kordelc.exe counts with them, Kordel.exe
#     starts;
#  5. uninstalling that installation leaves only the user's database, a reinstall keeps it, and
#     uninstalling with /REMOVEUSERLANGUAGES leaves nothing, the user's %APPDATA% copy included;
#  6. a folder with the former language pack: a database that is only the pack goes, a changed one stays;
#  7. an earlier key without InstallLocation: the languages are found in the uninstaller's folder;
#  8. an earlier uninstaller that fails: setup exits 4, installs nothing, loses nothing;
#  9. an earlier uninstaller that removes its folder, the new one, after it returned: setup waits;
# 10. a rerun after a setup stopped between the save and the restore restores the saved languages;
# 11. an upgrade over a folder that already holds a different database: the newer of the two is
#     used, the other kept beside it;
# 12. too little free space on the installation drive or in the temporary folder (small tmpfs
#     drives): setup exits 6 before the earlier installation is touched;
# 13. a file that cannot be put in place after the earlier installation was removed: setup exits 7,
#     the uninstall key and uninstaller are there, and the next run finishes the upgrade.
# After step 4 a setup over the running Kordel.exe asks it to close and replaces it.
# Needs the mingw-w64 toolchain, wine, NSIS, and Xvfb with x11-utils for the start of Kordel.exe
# (Debian: g++-mingw-w64-x86-64-posix wine wine64 nsis xvfb x11-utils), and root for the small
# drives of step 12 (tmpfs mounts, removed at the end).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
# The cross build of windows-test.sh is reused as it is configured (KORDEL_MINGW_BUILD names another).
build=${KORDEL_MINGW_BUILD:-build-windows}
step() { echo "installer-check: [$((SECONDS - started)) s] $*"; }
fail() { echo "installer-check: FAILED: $*" >&2; exit 1; }
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi

if [[ -f $build/CMakeCache.txt ]]; then
  grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-w64\.cmake$' "$build/CMakeCache.txt" || fail "$build is no mingw-w64 build"
  grep -q '^KORDEL_HELPERS_ONLY:BOOL=OFF$' "$build/CMakeCache.txt" || fail "$build builds the helpers only"
  # Configured again as it is, so that makensis is looked for once more if it was missing.
  cmake -S . -B "$build" >/dev/null
else
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKORDEL_BUILD_GUI=OFF -DKORDEL_BUILD_TESTS=OFF -DKORDEL_HELPERS_ONLY=OFF --no-warn-unused-cli >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target kordel-setup
setup=$PWD/$build/kordel-setup.exe
earlier_uninstaller=$build/earlier_uninstaller.exe
if [[ ! $earlier_uninstaller -nt installer/test/earlier_uninstaller.cpp ]]; then
  x86_64-w64-mingw32-g++-posix -municode -std=c++20 -O2 -static -o "$earlier_uninstaller" installer/test/earlier_uninstaller.cpp
fi

# winemenubuilder stays off: it would copy the setup's Start menu entries into this machine's own
# desktop menus, and run beside the setup while it works.
export WINEPREFIX=$PWD/$build/wineprefix-installer WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
xvfb_pid=
mounts=()
cleanup() {
  wineserver -k 2>/dev/null || true
  [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
  for mount in "${mounts[@]}"; do umount "$mount" 2>/dev/null && rmdir "$mount" || true; done
}
trap cleanup EXIT
# A virtual screen of our own for every wine program: Kordel.exe shows its window there.
rm -f "$build/xvfb-display"
Xvfb -displayfd 3 -nolisten tcp 3>"$build/xvfb-display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $build/xvfb-display ]] && break; sleep 0.1; done
[[ -s $build/xvfb-display ]] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$build/xvfb-display")
# One server for the whole run: a wine command that has to start one costs seconds.
wineserver -p
wineboot -i >/dev/null 2>&1

drive=$WINEPREFIX/drive_c
new="$drive/Program Files/Kordel"
old="$drive/Program Files (x86)/Kordel"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kordel"
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

# The data of value $3 of key $2 in registry view $1 (32 or 64); empty when missing.
reg_value() {
  wine reg query "$2" /v "$3" /reg:"$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$3 *REG_[A-Z_]* *//p"
}
reg_default() {
  wine reg query "$2" /ve /reg:"$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *(Default) *REG_[A-Z_]* *//p"
}
has_key() { wine reg query "$2" /reg:"$1" >/dev/null 2>&1; }

# Runs the setup silently, with further arguments $2...; its exit status must be $1. The helpers say
# on standard error why they failed; what the folders hold then is shown too.
run_setup() {
  local status=0 expected=$1
  shift
  timeout 300 wine "$setup" /S "$@" || status=$?
  if [[ $status != "$expected" ]]; then
    echo "installer-check: the installation folder holds: $(ls -A "$new" 2>&1 | tr '\n' ' ')" >&2
    echo "installer-check: the earlier folder holds: $(ls -A "$old" 2>&1 | tr '\n' ' ')" >&2
    echo "installer-check: the temporary folder holds: $(ls -A "$temp" 2>&1 | tr '\n' ' ')" >&2
    fail "kordel-setup.exe /S ended with $status, expected $expected"
  fi
}
# Runs the installed uninstaller silently with extra arguments and waits for it: it starts a copy
# of itself from the temporary folder and ends at once; the copy removes the uninstall key last.
run_uninstaller() {
  wine "C:\\Program Files\\Kordel\\uninstall.exe" /S "$@"
  for _ in $(seq 60); do
    has_key 64 "$uninstall\\Kordel" || { sleep 1; return 0; }
    sleep 0.5
  done
  fail "the uninstaller did not end"
}
set_temp() {
  wine reg add 'HKCU\Environment' /f /v TEMP /t REG_SZ /d "$1" >/dev/null
  wine reg add 'HKCU\Environment' /f /v TMP /t REG_SZ /d "$1" >/dev/null
}

# The installed files, and the further files given (udlangdb.ini once the user has languages there).
expected_files() {
  { printf '%s\n' Kordel.exe kordelc.exe kordel-manual.html quietuninst.exe udmigrate.exe \
      udrestore.exe udsave.exe uninstall.exe "$@"; } | LC_ALL=C sort
}
installed_files() { (cd "$new" && LC_ALL=C ls); }

temp_value=$(reg_value 64 'HKCU\Environment' TEMP)
temp=$(winepath -u "$temp_value")
mkdir -p "$temp"

# 1. Fresh install. A database left in the temporary folder by some earlier run is nobody's to restore.
step "fresh install"
printf 'Stale\r\n.stale\r\n' >"$temp/udlangdb.ini"
run_setup 0
diff <(expected_files) <(installed_files) || fail "the installation folder holds other files"
[[ ! -e $new/udlangdb.ini ]] || fail "a fresh install wrote a udlangdb.ini: the languages are built in"
cmp -s "$new/kordel-manual.html" "$build/generated/kordel-manual.html" || fail "the manual differs"
[[ -f $temp/udlangdb.ini ]] || fail "a fresh install took the stale database from the temporary folder"
[[ ! -e $old ]] || fail "something went to Program Files (x86)"
[[ $(reg_value 64 "$uninstall\\Kordel" UninstallString) == '"C:\Program Files\Kordel\uninstall.exe"' ]] ||
  fail "UninstallString in the 64-bit view: '$(reg_value 64 "$uninstall\\Kordel" UninstallString)'"
! has_key 32 "$uninstall\\Kordel" || fail "the uninstall key is in the 32-bit view"
[[ $(reg_default 64 'HKLM\Software\Classes\.kpl') == Kordel.ProjectList ]] ||
  fail ".kpl is not registered"
[[ -f "$menu/Kordel manual.lnk" ]] || fail "no Start menu entry for the manual"
[[ -f "$menu/Kordel.lnk" ]] || fail "no Start menu entry for Kordel"
[[ $(reg_default 64 'HKLM\Software\Classes\Kordel.ProjectList\shell\open\command') == \
   '"C:\Program Files\Kordel\Kordel.exe" "%1"' ]] || fail ".kpl files do not open in Kordel.exe"
# Runs from the installation folder alone: no runtime library is missing from it.
wine "C:\\Program Files\\Kordel\\kordelc.exe" --version >/dev/null || fail "the installed kordelc.exe does not run"
rm "$temp/udlangdb.ini"

# 2. Nothing of the user's is there, so everything goes.
step "uninstall"
run_uninstaller
[[ ! -e $new ]] || fail "uninstalling left $(installed_files | tr '\n' ' ')"
[[ ! -e $menu ]] || fail "the Start menu entry is left"
! has_key 64 'HKLM\Software\Classes\.kpl' || fail "the .kpl type is left"
! has_key 64 'HKLM\Software\Classes\Kordel.ProjectList' || fail "the .kpl class is left"

# The earlier installation: a 32-bit setup's folder and key, two languages in the earlier layout.
# make_earlier [FOLDER WINDOWS-FOLDER [UNINSTALLER-ARGUMENT]]: by default in Program Files (x86).
make_earlier() {
  local folder=${1:-$old} winfolder=${2:-'C:\Program Files (x86)\Kordel'} extra=${3:-}
  rm -rf "$folder" "$(dirname "$folder")/uninstall-mark.txt"
  mkdir -p "$folder"
  printf '%s\r\n' 'Old Script' '.osc;.os2' '#' '' '' '----' 'Old Block' '.obk' '//' '(*' '*)' '----' \
    >"$folder/udlangdb.ini"
  cp "$earlier_uninstaller" "$folder/unins000.exe"
  wine reg add "$uninstall\\Kordel_is1" /reg:32 /f /v InstallLocation /t REG_SZ /d "$winfolder\\" >/dev/null
  wine reg add "$uninstall\\Kordel_is1" /reg:32 /f /v QuietUninstallString /t REG_SZ \
    /d "\"$winfolder\\unins000.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART $extra" >/dev/null
  (cd "$folder" && find . -type f -exec md5sum {} + | sort) >"$build/earlier.md5"
}
# The user's two languages in the current layout.
converted() { printf '%s\r\n' 'Old Script' '.osc;.os2' '#' 0 '' 0 '' No 'Old Block' '.obk' '//' 0 '(*' 0 '*)' No; }

# 3. No verified copy of the database, no removal of the earlier installation.
step "upgrade with an unwritable temporary folder"
make_earlier
touch "$drive/blocked-temp"
set_temp 'C:\blocked-temp'
run_setup 2
set_temp "$temp_value"
(cd "$old" && find . -type f -exec md5sum {} + | sort) | diff "$build/earlier.md5" - ||
  fail "the earlier installation changed"
[[ ! -e "$drive/Program Files (x86)/uninstall-mark.txt" ]] || fail "the earlier uninstaller ran"
[[ -n $(reg_value 32 "$uninstall\\Kordel_is1" InstallLocation) ]] || fail "the earlier key is gone"
[[ ! -e $new ]] || fail "a stopped upgrade installed $(installed_files | tr '\n' ' ')"
! has_key 64 "$uninstall\\Kordel" || fail "a stopped upgrade wrote the uninstall key"

# 4. The upgrade.
step "upgrade"
run_setup 0
converted | cmp - "$new/udlangdb.ini" || fail "the user's languages did not arrive in the current layout"
[[ -f "$drive/Program Files (x86)/uninstall-mark.txt" ]] || fail "the earlier uninstaller did not run"
[[ ! -e $old ]] || fail "the earlier folder is left: $(ls "$old")"
! has_key 32 "$uninstall\\Kordel_is1" || fail "the earlier uninstall key is left"
[[ ! -e $temp/udlangdb.ini ]] || fail "the saved copy is left in the temporary folder"
diff <(expected_files udlangdb.ini) <(installed_files) || fail "the upgraded folder holds other files"

step "kordelc.exe counts with the user's languages"
printf '# comment\r\ncode\r\n' >"$drive/sample.osc"
counted=$(wine "C:\\Program Files\\Kordel\\kordelc.exe" --by-language 'C:\sample.osc' | tr -d '\r')
grep -q "^Old Script" <<<"$counted" || fail "kordelc.exe did not count with the installed database: $counted"

step "Kordel.exe starts"
wine "C:\\Program Files\\Kordel\\Kordel.exe" >/dev/null 2>&1 &
kordel_pid=$!
# The main window's title: the program's name and version (from the one definition), " - " and the
# project list's name.
caption="Kordel $(sed -n 's/^project(Kordel VERSION \([0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)"
has_main_window() { [[ $(xwininfo -root -tree 2>/dev/null) == *"\"$caption - "* ]]; }
for _ in $(seq 60); do
  has_main_window && break
  sleep 0.5
done
has_main_window || fail "Kordel.exe showed no main window"
# A setup (here a repair) asks the running Kordel.exe to close and replaces it.
step "setup over a running Kordel.exe"
run_setup 0
for _ in $(seq 20); do kill -0 "$kordel_pid" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$kordel_pid" 2>/dev/null; then
  wine taskkill /f /im Kordel.exe >/dev/null
  fail "setup left Kordel.exe running"
fi
wait "$kordel_pid" || true
diff <(expected_files udlangdb.ini) <(installed_files) || fail "the repair over a running Kordel.exe left other files"

# 5. The user's database stays after an uninstall and through a
#    reinstall, and goes only on request.
step "uninstall after the upgrade, reinstall, uninstall with /REMOVEUSERLANGUAGES"
cp "$new/udlangdb.ini" "$build/user.ini"
run_uninstaller
[[ $(installed_files) == udlangdb.ini ]] || fail "uninstalling left $(installed_files | tr '\n' ' ')"
cmp -s "$new/udlangdb.ini" "$build/user.ini" || fail "uninstalling changed the user's database"
[[ ! -e $menu ]] || fail "the Start menu entry is left"
run_setup 0
cmp -s "$new/udlangdb.ini" "$build/user.ini" || fail "a reinstall replaced the user's database"
# The user's own edits, which the programs keep in %APPDATA%, go with /REMOVEUSERLANGUAGES too.
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
mkdir -p "$appdata/kordel"
cp "$build/user.ini" "$appdata/kordel/udlangdb.ini"
run_uninstaller /REMOVEUSERLANGUAGES
[[ ! -e $new ]] || fail "/REMOVEUSERLANGUAGES left $(installed_files | tr '\n' ' ')"
[[ ! -e $appdata/kordel ]] || fail "/REMOVEUSERLANGUAGES left the user's %APPDATA%\\kordel"

# 6. A folder as an earlier setup of ours left it, with the language pack beside the database: a
#    database that is only that pack goes (its languages are built in now), one the user changed stays.
step "the former language pack"
run_setup 0
cp installer/test/former-language-pack.ini "$new/language-pack.ini"
cp installer/test/former-language-pack.ini "$new/udlangdb.ini"
run_setup 0
diff <(expected_files) <(installed_files) || fail "the former pack was not retired"
cp installer/test/former-language-pack.ini "$new/language-pack.ini"
{ cat installer/test/former-language-pack.ini; printf '%s\r\n' Mine .mine '#' 0 '' 0 '' No; } >"$new/udlangdb.ini"
cp "$new/udlangdb.ini" "$build/user.ini"
run_setup 0
diff <(expected_files udlangdb.ini) <(installed_files) || fail "the former pack is left, or the user's database gone"
cmp -s "$new/udlangdb.ini" "$build/user.ini" || fail "the user's changed database was not kept"
run_uninstaller /REMOVEUSERLANGUAGES

# 7. An earlier key without InstallLocation: the uninstaller's folder is the earlier installation's,
#    so the languages are saved before it runs and arrive in the new installation.
step "upgrade from a key without InstallLocation"
make_earlier
wine reg delete "$uninstall\\Kordel_is1" /reg:32 /f /v InstallLocation >/dev/null
run_setup 0
converted | cmp - "$new/udlangdb.ini" || fail "the languages of a key without InstallLocation were lost"
[[ ! -e $old ]] || fail "the earlier folder is left: $(ls "$old")"
run_uninstaller /REMOVEUSERLANGUAGES

# 8. An earlier uninstaller that fails and removes nothing: setup stops with 4 and installs nothing;
#    the earlier installation keeps its languages and the saved copy stays in the temporary folder.
step "upgrade whose earlier uninstaller fails"
make_earlier "$old" 'C:\Program Files (x86)\Kordel' /FAIL
run_setup 4
(cd "$old" && find . -type f -exec md5sum {} + | sort) | diff "$build/earlier.md5" - ||
  fail "the earlier installation changed"
[[ ! -e $new ]] || fail "setup installed $(installed_files | tr '\n' ' ') over a failed uninstall"
! has_key 64 "$uninstall\\Kordel" || fail "setup wrote its uninstall key over a failed uninstall"
cmp -s "$temp/udlangdb.ini" "$old/udlangdb.ini" || fail "the saved copy is not in the temporary folder"
rm -rf "$old" "$temp/udlangdb.ini"
wine reg delete "$uninstall\\Kordel_is1" /reg:32 /f >/dev/null

# 9. An earlier uninstaller that returns before its removal ends, in the folder setup installs
#    into: setup waits for it, so the late removal takes none of the new files.
step "upgrade whose earlier uninstaller removes its folder late, in the new folder"
make_earlier "$new" 'C:\Program Files\Kordel' /LATE
run_setup 0
sleep 5
diff <(expected_files udlangdb.ini) <(installed_files) || fail "the late removal took new files"
converted | cmp - "$new/udlangdb.ini" || fail "the languages did not survive the late removal"
! has_key 32 "$uninstall\\Kordel_is1" || fail "the earlier uninstall key is left"
run_uninstaller /REMOVEUSERLANGUAGES

# 10. A setup killed after it saved the languages and started the earlier uninstaller: the earlier
#     installation is gone, the saved copy and the pending mark are left. The next run restores them.
step "a rerun after a setup stopped between the save and the restore"
printf '%s\r\n' 'Old Script' '.osc;.os2' '#' '' '' '----' 'Old Block' '.obk' '//' '(*' '*)' '----' >"$temp/udlangdb.ini"
wine reg add 'HKLM\Software\Kordel\Setup' /reg:64 /f /v PendingRestore /t REG_SZ /d "$temp_value\\udlangdb.ini" >/dev/null
run_setup 0
converted | cmp - "$new/udlangdb.ini" || fail "the rerun did not restore the saved languages"
[[ ! -e $temp/udlangdb.ini ]] || fail "the saved copy is left in the temporary folder"
! has_key 64 'HKLM\Software\Kordel\Setup' || fail "the pending mark is left"
run_uninstaller /REMOVEUSERLANGUAGES

# 11. An upgrade into a folder that already holds a database different from the earlier one: the
#     later written of the two is used and the other kept beside it, so nothing of either is lost.
step "upgrade over a newer current database, then under an older one"
run_setup 0
printf '%s\r\n' Mine .mine '#' 0 '' 0 '' No >"$new/udlangdb.ini"
cp "$new/udlangdb.ini" "$build/user.ini"
make_earlier
touch -d '2020-01-01 12:00' "$old/udlangdb.ini"
cp "$old/udlangdb.ini" "$build/earlier.ini"
run_setup 0
cmp -s "$new/udlangdb.ini" "$build/user.ini" || fail "an older saved database replaced the newer current one"
kept=("$new"/udlangdb.earlier-????????.ini)
[[ ${#kept[@]} == 1 && -f ${kept[0]} ]] || fail "the earlier database was not kept beside the current one"
cmp -s "${kept[0]}" "$build/earlier.ini" || fail "the earlier database kept beside the current one differs"
diff <(expected_files udlangdb.ini "${kept[0]##*/}") <(installed_files) || fail "the upgraded folder holds other files"
[[ ! -e $temp/udlangdb.ini ]] || fail "the saved copy is left in the temporary folder"
! has_key 64 'HKLM\Software\Kordel\Setup' || fail "the pending mark is left"
rm "${kept[0]}"
make_earlier
touch -d '2020-01-01 12:00' "$new/udlangdb.ini"
run_setup 0
converted | cmp - "$new/udlangdb.ini" || fail "the newer saved languages were not put in place"
kept=("$new"/udlangdb.replaced-????????.ini)
[[ ${#kept[@]} == 1 && -f ${kept[0]} ]] || fail "the replaced database was not kept"
cmp -s "${kept[0]}" "$build/user.ini" || fail "the replaced database kept beside the new one differs"
run_uninstaller /REMOVEUSERLANGUAGES
[[ ! -e $new ]] || fail "/REMOVEUSERLANGUAGES left $(installed_files | tr '\n' ' ')"

# 12. Small drives, as tmpfs file systems behind wine drive letters: the space is checked before the
#     earlier installation is touched, on the installation drive and in the temporary folder (the
#     setup unpacks its files there).
step "too little free space on the installation drive, then in the temporary folder"
small_drive() {  # small_drive LETTER SIZE: a fresh tmpfs of SIZE as drive LETTER:
  local folder=$PWD/$build/small-drive-$1
  mkdir -p "$folder"
  mount -t tmpfs -o size="$2" kordel-check "$folder"
  mounts+=("$folder")
  ln -sfn "$folder" "$WINEPREFIX/dosdevices/$1:"
}
untouched_earlier() {
  (cd "$old" && find . -type f -exec md5sum {} + | sort) | diff "$build/earlier.md5" - ||
    fail "the earlier installation changed"
  [[ ! -e "$drive/Program Files (x86)/uninstall-mark.txt" ]] || fail "the earlier uninstaller ran"
  ! has_key 64 "$uninstall\\Kordel" || fail "the uninstall key was written"
}
small_drive k 12m
make_earlier
run_setup 6 '/D=K:\Kordel'
untouched_earlier
[[ -z $(ls -A "$PWD/$build/small-drive-k") ]] || fail "setup wrote to the small drive"
small_drive t 20m
set_temp 'T:\'
run_setup 6
set_temp "$temp_value"
untouched_earlier
[[ ! -e $new ]] || fail "setup installed $(installed_files | tr '\n' ' ') with a full temporary folder"
[[ ! -e $PWD/$build/small-drive-t/udlangdb.ini ]] || fail "setup saved the languages to the full temporary folder"

# 13. A file that cannot be put in place once the earlier installation is gone (here a folder in the
#     way of kordelc.exe): setup stops with 7, leaving the uninstall key and uninstaller for what is
#     there and the saved languages for the next run, which finishes the upgrade.
step "a stop after the earlier installation was removed, and the run after it"
mkdir -p "$new/kordelc.exe"
run_setup 7
[[ ! -e $old ]] || fail "the earlier installation is left: $(ls "$old")"
[[ $(reg_value 64 "$uninstall\\Kordel" UninstallString) == '"C:\Program Files\Kordel\uninstall.exe"' ]] ||
  fail "a half-installed folder has no uninstall key"
[[ -f $new/uninstall.exe ]] || fail "a half-installed folder has no uninstaller"
[[ -f $temp/udlangdb.ini ]] || fail "the saved languages are gone"
rmdir "$new/kordelc.exe"
run_setup 0
converted | cmp - "$new/udlangdb.ini" || fail "the run after the stop did not restore the saved languages"
diff <(expected_files udlangdb.ini) <(installed_files) || fail "the run after the stop left other files"
! has_key 64 'HKLM\Software\Kordel\Setup' || fail "the pending mark is left"
run_uninstaller /REMOVEUSERLANGUAGES

echo "installer-check: passed in $((SECONDS - started)) s"
