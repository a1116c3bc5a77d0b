#!/usr/bin/env bash
# Builds and runs every test: once plainly, once under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each source includes only headers of the layers its target links (seconds, no build).
scripts/include-check.sh
# ccache, when installed, makes a second run on the same machine cheap.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -DKORDEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}"
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
