#!/usr/bin/env bash
# Cross-builds the core, kordelc.exe, the installation helpers and the portable test suites for
# Windows with the mingw-w64 toolchain (GoogleTest built from Debian's source with the same
# toolchain), runs the suites under wine through CTest's cross-compiling emulator, checks that
# kordelc.exe gives the same JSON as the Linux kordelc, and runs the helpers' installer check.
# Needs: g++-mingw-w64-x86-64-posix wine wine64 googletest (and a Linux build in build/ for the
# JSON comparison: scripts/test.sh makes it). Then the names check and the helpers' check.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
build=${KORDEL_WINDOWS_BUILD:-build-windows}
linux=${KORDEL_LINUX_BUILD:-build}
jobs=$(nproc)
fail() { echo "windows-test: FAILED: $*" >&2; exit 1; }

if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
  launcher=()
fi

# GoogleTest for Windows, from Debian's source, installed inside the build folder.
gtest=$PWD/$build/googletest
if [[ ! -f $gtest/install/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF \
    -DCMAKE_INSTALL_PREFIX="$gtest/install" "${launcher[@]}" >/dev/null
  cmake --build "$gtest/build" -j"$jobs" >/dev/null
  cmake --install "$gtest/build" >/dev/null
fi

# A wine prefix of our own, without the mono and gecko installers, stopped again at the end.
export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
[[ -d $WINEPREFIX ]] || wineboot -i >/dev/null 2>&1

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKORDEL_BUILD_GUI=OFF -DKORDEL_BUILD_TESTS=ON -DGTest_DIR="$gtest/install/lib/cmake/GTest" \
  "${launcher[@]}" --no-warn-unused-cli >/dev/null
cmake --build "$build" -j"$jobs"

ctest --test-dir "$build" -j"$jobs" --output-on-failure | tee "$build/ctest.log"
grep -E 'tests passed|Skipped' "$build/ctest.log" || true

# kordelc.exe counts like kordelc: the same JSON, paths aside (Windows joins them with "\").
if [[ -x $linux/cli/kordelc ]]; then
  : > "$build/empty-udlangdb.ini"
  for input in tests/data .; do
    "$linux/cli/kordelc" -f json --no-ignore --languages "$build/empty-udlangdb.ini" --exclude-dir 'build*' --exclude-dir 'obj-*' "$input" > "$build/linux.json"
    wine "$build/cli/kordelc.exe" -f json --no-ignore --languages "$build/empty-udlangdb.ini" --exclude-dir 'build*' --exclude-dir 'obj-*' "$input" |
      tr -d '\r' | sed 's|\\\\|/|g' > "$build/windows.json"
    cmp -s "$build/linux.json" "$build/windows.json" || fail "kordelc.exe and kordelc differ for $input"
    echo "windows-test: kordelc.exe gives kordelc's JSON for $input"
  done
else
  fail "no Linux kordelc in $linux/ to compare with (run scripts/test.sh first)"
fi

# Names beyond ASCII in every path kordelc.exe meets.
KORDEL_MINGW_BUILD="$build" scripts/wine-names-check.sh

# The helpers built above, in a wine prefix of their own.
KORDEL_MINGW_BUILD="$build" scripts/wine-check.sh
echo "windows-test: passed in $((SECONDS - started)) s"
