#!/usr/bin/env bash
# Builds and runs every test: once plainly, once under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DKORDEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
