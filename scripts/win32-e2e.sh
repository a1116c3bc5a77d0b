#!/usr/bin/env bash
# Drives Kordel.exe under wine on a virtual screen with the keyboard, as a user would: the project
# list saved last is re-opened at start and counted (settings llp and acpl), the results are exported
# as CSV through File > Export (F7) and the save dialog, and the file must equal kordelc.exe's CSV
# byte for byte. The list names its files out of path order, and the files and the list have é, 日本
# and an emoji in their names. Saves a screenshot of the counted list for the README. Then runs the
# main window's tests, which need a screen, when the build has tests.
# Usage: scripts/win32-e2e.sh [screenshot.png]
# Needs the mingw-w64 toolchain, wine, Xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
shot=${1:-docs/screenshot-windows.png}
# The cross build of windows-test.sh is reused as it is configured (KORDEL_E2E_BUILD names another).
build=${KORDEL_E2E_BUILD:-build-windows}
fail() { echo "win32-e2e: FAILED: $*" >&2; exit 1; }
# The program's name and version as its windows show them, from the one definition.
caption="Kordel $(sed -n 's/^project(Kordel VERSION \([0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)"
pattern="^${caption//./\\.}"

if [[ -f $build/CMakeCache.txt ]]; then
  grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-w64\.cmake$' "$build/CMakeCache.txt" || fail "$build is no mingw-w64 build"
  grep -q '^KORDEL_HELPERS_ONLY:BOOL=OFF$' "$build/CMakeCache.txt" || fail "$build builds the helpers only"
else
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKORDEL_BUILD_GUI=OFF -DKORDEL_BUILD_TESTS=OFF -DKORDEL_HELPERS_ONLY=OFF "${launcher[@]}" \
    --no-warn-unused-cli >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target KordelWin32 kordelc >/dev/null
kordel=$PWD/$build/ui/win32/Kordel.exe
kordelc=$PWD/$build/cli/kordelc.exe

# Wine turns the names of this side into UTF-16 by the locale: it must be a UTF-8 one.
export LC_ALL=C.UTF-8
export WINEPREFIX=$PWD/$build/wine-e2e WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
# A virtual screen of our own: KORDEL_E2E_DISPLAY, else the first free display number.
if [[ -n ${KORDEL_E2E_DISPLAY:-} ]]; then
  display=$KORDEL_E2E_DISPLAY
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
else
  rm -f "$build/e2e-display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$build/e2e-display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $build/e2e-display ]] && break; sleep 0.1; done
  [[ -s $build/e2e-display ]] || fail "Xvfb did not start"
  display=:$(cat "$build/e2e-display")
fi
export DISPLAY=$display
silent_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [[ -n $silent_pid ]] && kill "$silent_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1

# A project with a C file and a Java file, listed by absolute paths in the list saved last, the Java
# file first: both programs count the list in path order.
drive=$WINEPREFIX/drive_c
work=$drive/kordel-e2e
src='src é 日本 🎉'
list='liste 日本.kpl'
mkdir -p "$work/$src"
cp examples/sample/hello.c "$work/$src/héllo 🎉.c"
cp examples/sample/Quote.java "$work/$src/"
printf 'Kordel Project List\r\n\r\nANY EDITS THAT ARE DONE TO THIS FILE ARE DONE AT YOUR OWN RISK.\r\n\r\n31214729602::FN\r\n%s\r\n%s\r\n31214729604::PN\r\nSample 1.0\r\n\r\n31214729604::END\r\n' \
  "C:\\kordel-e2e\\$src\\Quote.java" "C:\\kordel-e2e\\$src\\héllo 🎉.c" > "$work/$list"
# No window manager runs on the virtual screen: wine draws the frames and maximises by itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
setting() { wine reg add "HKCU\\Software\\Kordel\\$1" /ve /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
setting llp 1
setting acpl 1
setting sps 1
setting lsp "C:\\kordel-e2e\\$list"
# A version server that accepts connections and never answers (the kernel takes them; nobody reads).
exec {silent}< <(exec python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
print(s.getsockname()[1], flush=True); time.sleep(600)')
silent_pid=$!
read -r -u "$silent" port
setting verurl "http://127.0.0.1:$port/kordelnewversion.txt"

# Waits for a top-level window whose title matches (wine gives the keyboard to the window it activates).
window() {
  local id=
  for _ in $(seq 1 150); do
    id=$(xdotool search --name "$1" 2>/dev/null | tail -1) && [[ -n $id ]] && break
    sleep 0.2
  done
  [[ -n $id ]] || fail "no window titled '$1'"
  xdotool windowfocus "$id" 2>/dev/null || true
  sleep 0.5
  echo "$id"
}
key() { xdotool "$@" 2>/dev/null; }

wine "$kordel" >/dev/null 2>&1 &
# The count at start ends with its message box; Enter closes it.
window "$pattern\$" >/dev/null
key key Return
main=$(window "$pattern - C:")
xdotool getwindowname "$main" | grep -qF "$caption - C:\\kordel-e2e\\$list" || fail "title: $(xdotool getwindowname "$main")"
mkdir -p "$(dirname "$shot")"
import -window root -display "$display" "$shot"

# F7: export as CSV; the save dialog takes the name typed into it.
key key F7
window '^Specify a filename for the export\.\.\.$' >/dev/null
sleep 2  # the dialog fills its folder view before it takes typing
key type --delay 20 'C:\kordel-e2e\gui'
key key Return
for _ in $(seq 1 50); do [[ -s $work/gui.csv ]] && break; sleep 0.2; done
[[ -s $work/gui.csv ]] || fail "the export wrote no gui.csv"

wine "$kordelc" --percent -q -f csv -o 'C:\kordel-e2e\cli.csv' "C:\\kordel-e2e\\$list" >/dev/null 2>&1
grep -q 'Quote\.java' <(sed -n '/héllo 🎉\.c/,$p' "$work/cli.csv") || fail "kordelc.exe did not count the list in path order"

cmp "$work/gui.csv" "$work/cli.csv" || fail "the CSV files differ: $(diff <(cat -A "$work/gui.csv") <(cat -A "$work/cli.csv"))"

# Help > Check for a newer version, against a server that takes the connection and never answers:
# Escape cancels the wait window long before the check's 15 s deadline, and no message follows.
window "$pattern - C:" >/dev/null
key key alt+h
key key c
window '^Kordel$' >/dev/null
key key Escape
for _ in $(seq 1 50); do xdotool search --name '^Kordel$' >/dev/null 2>&1 || break; sleep 0.2; done
xdotool search --name '^Kordel$' >/dev/null 2>&1 && fail "Escape did not end the version check's wait window"
sleep 1
xdotool search --name "$pattern\$" >/dev/null 2>&1 && fail "a cancelled version check showed a message"

# Alt+F4 closes the window; nothing is unsaved, so no question stops it.
window "$pattern - C:" >/dev/null
key key alt+F4
for _ in $(seq 1 50); do xdotool search --name "$pattern - " >/dev/null 2>&1 || break; sleep 0.2; done
xdotool search --name "$pattern - " >/dev/null 2>&1 && fail "the window did not close"

# The main window's own tests need a screen: this one (tests/win32/main_window_test.cpp). A context
# menu wrongly shown during a count would wait for a click, hence the time limit.
if grep -q '^KORDEL_BUILD_TESTS:BOOL=ON$' "$build/CMakeCache.txt"; then
  cmake --build "$build" -j"$(nproc)" --target win32_window_tests >/dev/null
  timeout 120 wine "$build/tests/win32/win32_window_tests.exe" > "$build/window-tests.log" 2>&1 ||
    fail "the main window's tests: $(tail -20 "$build/window-tests.log")"
  grep -F '[  PASSED  ]' "$build/window-tests.log"
else
  echo "win32-e2e: $build builds no tests: the main window's tests did not run"
fi
echo "win32-e2e: passed in $((SECONDS - started)) s (screenshot: $shot)"
