#!/usr/bin/env bash
# Builds the deliverables, lays out the run-time tree under install/ and
# starts the program there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
cmake --install build/release --prefix install >/dev/null
cd install/bin
if [ -x ./torvan ]; then
  exec ./torvan "$@"
fi
echo "There is no torvan program to start. Installed in $(pwd):"
ls -1 libPelorus.so libSindel.so 2>/dev/null || true
