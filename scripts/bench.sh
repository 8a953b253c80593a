#!/usr/bin/env bash
# Builds the benchmarks (the release preset) and runs every one of them, then
# prints one table: each benchmark's figure, its reference (the wire time of
# the same traffic for the buses) and the ratio of the two. Arguments go to
# every benchmark executable, e.g. --benchmark_filter=Serial.
# TORVAN_BENCH_BUILD names another build directory to use.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

build=${TORVAN_BENCH_BUILD:-build/release}
if [ "$build" = build/release ]; then
  configure=(cmake --preset release)
else
  configure=(cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVAN_BENCH=ON -DTORVAN_TESTS=OFF)
fi
if ! "${configure[@]}" >"$results/build.log" 2>&1 ||
   ! cmake --build "$build" -j "$(nproc)" >>"$results/build.log" 2>&1; then
  cat "$results/build.log" >&2
  echo "the benchmarks did not build" >&2
  exit 1
fi

failed=0
for bench in "$build"/bin/bench_*; do
  [ -x "$bench" ] || continue
  name=$(basename "$bench")
  echo "running $name" >&2
  if ! "$bench" --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@" \
      >/dev/null 2>"$results/$name.log"; then
    echo "$name failed:" >&2
    cat "$results/$name.log" >&2
    failed=1
  fi
done
python3 bench/bench_table.py "$results"/*.json
exit "$failed"
