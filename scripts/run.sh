#!/usr/bin/env bash
# Builds the program and runs it in its run-time tree under install/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
cmake --install build/release --prefix install >/dev/null
cd install/bin
exec ./torvan "$@"
