#!/usr/bin/env bash
# Builds and runs every test: the sanitizer build (AddressSanitizer and
# UndefinedBehaviorSanitizer) with all tests and seed replays, the
# ThreadSanitizer build of the threaded tests, and every benchmark once.
# The last line totals all runs: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1

jobs=$(nproc)
total_passed=0
total_failed=0

# Sanitized runs need a predictable address space on machines with high
# address-space randomisation.
norandom=()
if setarch "$(uname -m)" -R true 2>/dev/null; then
  norandom=(setarch "$(uname -m)" -R)
fi

add_counts() {
  total_passed=$((total_passed + $1))
  total_failed=$((total_failed + $2))
}

run_preset() {
  local preset=$1
  echo "=== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
    echo "=== $preset: build failed"
    add_counts 0 1
    return
  fi
  local dir="build/$preset"
  rm -rf "$dir/test-results"
  mkdir -p "$dir/test-results"
  local names
  names=$(ctest --test-dir "$dir" -N | sed -n 's/^ *Test *#[0-9]*: //p')
  if [ -z "$names" ]; then
    echo "=== $preset: no tests"
    return
  fi
  echo "=== $preset: test"
  "${norandom[@]}" ctest --preset "$preset" -j "$jobs"
  # shellcheck disable=SC2086
  read -r p f < <(python3 scripts/count-results.py "$dir/test-results" $names)
  echo "=== $preset: $p passed, $f failed"
  add_counts "$p" "$f"
}

run_benchmarks() {
  echo "=== benchmarks: configure and build"
  if ! cmake --preset release >/dev/null || ! cmake --build --preset release -j "$jobs"; then
    echo "=== benchmarks: build failed"
    add_counts 0 1
    return
  fi
  local p=0 f=0
  for bench in build/release/bin/bench_*; do
    [ -x "$bench" ] || continue
    if "$bench" --benchmark_min_time=0.001 >/dev/null; then
      p=$((p + 1))
    else
      echo "=== benchmark failed: $bench"
      f=$((f + 1))
    fi
  done
  echo "=== benchmarks: $p passed, $f failed"
  add_counts "$p" "$f"
}

run_preset asan
run_preset tsan
run_benchmarks

echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
