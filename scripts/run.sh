#!/usr/bin/env bash
# Builds the deliverables, lays out the run-time tree under install/, starts
# the virtual drive on a pseudo-terminal as COM1 and runs torvan there. With a
# display (DISPLAY or WAYLAND_DISPLAY) torvan shows its windows until the user
# ends it ("ExitTorvel"); without one it runs headless, with the smoke module
# acting as the user, and prints what the main window shows. The drive
# program and the smoke module are test equipment from the build tree;
# neither is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
cmake --install build/release --prefix install >/dev/null
# The virtual drive's firmware (type 4120, version 1.30) comes with its
# parameter description file, as a real drive's firmware does; the program
# looks for it by class and version in its language folder.
cp sim/fixtures/run_drive.PIT install/LANGUAGE/044/4_001_30.PIT

bin=$root/build/release/bin
drive_out=$(mktemp)
"$bin/torvan_virtual_drive" >"$drive_out" &
drive_pid=$!
stop_drive() {
  if kill -0 "$drive_pid" 2>/dev/null; then
    kill -TERM "$drive_pid"
    wait "$drive_pid" || true
  fi
  tail -n +2 "$drive_out"
  rm -f "$drive_out"
}
trap stop_drive EXIT

for _ in $(seq 50); do
  [ -s "$drive_out" ] && break
  sleep 0.1
done
slave=$(head -n 1 "$drive_out")
if [ -z "$slave" ]; then
  echo "The virtual drive did not start." >&2
  exit 1
fi
echo "Virtual drive at address 1 on $slave (COM1)"

cd install/bin
status=0
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  TORVAN_COMMAP="COM1=$slave" ./torvan "$@" || status=$?
else
  TORVAN_COMMAP="COM1=$slave" TORVAN_TESTTOOL="$bin/libtorvan_smoke.so" ./torvan "$@" || status=$?
fi
echo "torvan ended with $status"
exit "$status"
