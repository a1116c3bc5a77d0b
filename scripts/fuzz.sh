#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a fixed time over its seed corpus.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# Findings are written to build-fuzz/findings/<target>/; the grown corpus stays in build-fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(text_reader counters custom_counter known_counter udlangdb kpl settings_number ignore_rules revision_spec
           diff_pairing hand_off)
fi
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDEL_FUZZ=ON \
  -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_GUI=OFF >/dev/null
cmake --build build-fuzz -j2
# Leaks inside the system's libraries that the targets reach (see the file) are not findings.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
status=0
for t in "${targets[@]}"; do
  work=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$work" "$findings"
  echo "== $t: ${seconds}s"
  if ! build-fuzz/fuzz/${t}_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" 2>"build-fuzz/$t.log"; then
    echo "   FINDING: see build-fuzz/$t.log and $findings/"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "build-fuzz/$t.log" | tail -2 | sed 's/^/   /'
done
exit $status
