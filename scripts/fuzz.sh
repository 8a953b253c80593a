#!/usr/bin/env bash
# Builds every fuzz target with libFuzzer (the "fuzz" preset: clang, the
# libraries instrumented too) and runs each for SECONDS, a few at a time.
#
#   bash scripts/fuzz.sh SECONDS [TARGET...]
#
# Each target starts from its seed corpus; what it learns goes to
# build/fuzz/corpus/<target>, the seeds stay untouched. An input that makes a
# target fail is kept in build/fuzz/findings/<target>/ with the run's log;
# add it to the seed corpus once its fault is fixed so the replay keeps it.
# FUZZ_JOBS sets how many targets run at once (default 4).
# The last line totals the runs: "N clean, N with findings".
set -uo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
jobs=${FUZZ_JOBS:-4}

# clang with its libFuzzer runtime; installed on a fresh Debian machine.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null |
    grep -q "install ok installed"; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "not root: install clang and libclang-rt-dev first" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends clang libclang-rt-dev
fi

dir=$PWD/build/fuzz
cmake --preset fuzz >/dev/null || { echo "fuzz: configure failed"; exit 1; }

declare -A corpus_of
targets=()
while IFS='=' read -r name corpus; do
  [ -n "$name" ] || continue
  corpus_of[$name]=$corpus
  targets+=("$name")
done < "$dir/fuzz-targets.txt"

if [ $# -gt 0 ]; then
  chosen=()
  for name in "$@"; do
    [[ $name == *_fuzzer ]] || name=${name}_fuzzer
    if [ -z "${corpus_of[$name]:-}" ]; then
      echo "no fuzz target $name" >&2
      exit 2
    fi
    chosen+=("$name")
  done
  targets=("${chosen[@]}")
fi

cmake --build --preset fuzz -j "$jobs" --target "${targets[@]}" || { echo "fuzz: build failed"; exit 1; }

# Runs one target; its verdict is the file status/<target>.
run_target() {
  local name=$1
  local work="$dir/corpus/$name" findings="$dir/findings/$name"
  mkdir -p "$work" "$findings"
  cp -rn "${corpus_of[$name]}/." "$work/" 2>/dev/null
  local log="$findings/log.txt"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$dir/bin/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" > "$log" 2>&1
  local rc=$?
  if [ $rc -eq 0 ]; then
    echo clean > "$dir/status/$name"
  else
    echo "finding (exit $rc), see $log" > "$dir/status/$name"
  fi
  echo "$name: $(cat "$dir/status/$name")"
}

rm -rf "$dir/status"
mkdir -p "$dir/status"
running=0
for name in "${targets[@]}"; do
  run_target "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

clean=0
found=0
for name in "${targets[@]}"; do
  if [ "$(cat "$dir/status/$name" 2>/dev/null)" = clean ]; then
    clean=$((clean + 1))
  else
    echo "=== $name: $(cat "$dir/status/$name" 2>/dev/null || echo 'no verdict')"
    found=$((found + 1))
  fi
done
echo "$clean clean, $found with findings"
[ "$found" -eq 0 ]
