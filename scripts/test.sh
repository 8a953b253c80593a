#!/usr/bin/env bash
# Builds and runs every test: the sanitizer build (AddressSanitizer and
# UndefinedBehaviorSanitizer) with all tests and seed replays, the format gate
# (clang-format over every tracked source, after .clang-format), clang-tidy's
# bugprone checks over the parsers, the ThreadSanitizer build of the threaded
# tests, all tests again on the build that ships (the release preset: GCC,
# -O2), every benchmark once over that build, and the screen check of the
# renderer under a virtual X server with openbox (scripts/screen-check.sh). The last line
# totals all runs: "N passed, N failed" (the format gate and the clang-tidy
# run count as one each).
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

# Builds and runs the tests of one preset; with a label, only the tests that
# carry it (their executables are the only targets built).
run_preset() {
  local preset=$1 label=${2:-}
  local dir="build/$preset"
  echo "=== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null; then
    echo "=== $preset: configure failed"
    add_counts 0 1
    return
  fi
  local names
  if [ -n "$label" ]; then
    names=$(ctest --test-dir "$dir" -N -L "$label" | sed -n 's/^ *Test *#[0-9]*: //p')
  else
    names=$(ctest --test-dir "$dir" -N | sed -n 's/^ *Test *#[0-9]*: //p')
  fi
  local targets=()
  if [ -n "$label" ]; then
    # shellcheck disable=SC2206
    targets=(--target $names)
  elif [ "$preset" = release ]; then
    # The program, its renderer and benchmarks, and the tests over the same
    # objects; the benchmarks and the screen check then build nothing.
    targets=(--target all torvan_tests)
  fi
  if [ -n "$names" ] && ! cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"; then
    echo "=== $preset: build failed"
    add_counts 0 1
    return
  fi
  rm -rf "$dir/test-results"
  mkdir -p "$dir/test-results"
  if [ -z "$names" ]; then
    echo "=== $preset: no tests"
    return
  fi
  echo "=== $preset: test"
  if [ -n "$label" ]; then
    "${norandom[@]}" ctest --preset "$preset" -j "$jobs" -L "$label"
  else
    "${norandom[@]}" ctest --preset "$preset" -j "$jobs"
  fi
  # shellcheck disable=SC2086
  read -r p f < <(python3 scripts/count-results.py "$dir/test-results" $names)
  echo "=== $preset: $p passed, $f failed"
  add_counts "$p" "$f"
}

run_benchmarks() {
  echo "=== benchmarks: configure and build"
  local benches=()
  if cmake --preset release >/dev/null; then
    IFS=';' read -r -a benches < build/release/benchmark-targets.txt || true
  fi
  if [ ${#benches[@]} -eq 0 ]; then
    echo "=== benchmarks: none"
    return
  fi
  if ! cmake --build --preset release -j "$jobs" --target "${benches[@]}"; then
    echo "=== benchmarks: build failed"
    add_counts 0 1
    return
  fi
  local p=0 f=0
  for name in "${benches[@]}"; do
    bench="build/release/bin/$name"
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

# Every tracked C and C++ source must be formatted as .clang-format says.
run_format_gate() {
  echo "=== format: clang-format over the tracked sources"
  local sources=()
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.cc' '*.c')
  else
    mapfile -t sources < <(find . -path ./build -prune -o -path ./install -prune -o \
      -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' -o -name '*.c' \) -print)
  fi
  if printf '%s\0' "${sources[@]}" | xargs -0 clang-format --dry-run --Werror; then
    echo "=== format: 1 passed, 0 failed"
    add_counts 1 0
  else
    echo "=== format: files differ from .clang-format (clang-format -i FILE formats one)"
    add_counts 0 1
  fi
}

# clang-tidy reads the compile commands of the sanitizer build.
run_tidy() {
  echo "=== tidy: bugprone checks over the parsers"
  if bash scripts/tidy-parsers.sh build/asan; then
    echo "=== tidy: 1 passed, 0 failed"
    add_counts 1 0
  else
    echo "=== tidy: findings"
    add_counts 0 1
  fi
}

# The screen renderer under a virtual X server, once, over the release build.
run_screen_check() {
  echo "=== screen check: the renderer under Xvfb and openbox"
  local last p f
  # Each line goes on through the run's own error output (tee would open it
  # again: a log file of the whole run would be emptied or written over);
  # the last line is kept for the counts.
  last=$(bash scripts/screen-check.sh | {
    line='' previous=''
    while IFS= read -r line; do
      printf '%s\n' "$line" >&2
      previous=$line
    done
    printf '%s\n' "$previous"
  })
  if [[ "$last" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    p=${BASH_REMATCH[1]}
    f=${BASH_REMATCH[2]}
  else
    p=0
    f=1
  fi
  echo "=== screen check: $p passed, $f failed"
  add_counts "$p" "$f"
}

run_format_gate
run_preset asan
run_tidy
run_preset tsan threaded
run_preset release
run_benchmarks
run_screen_check

echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
