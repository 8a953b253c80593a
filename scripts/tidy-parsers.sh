#!/usr/bin/env bash
# Runs clang-tidy's bugprone checks over the parsers: serial and CANopen
# framing, the INI unit and profiles, Intel-HEX, programme files and
# parameter files. Any finding fails the run. Needs the compile commands of
# a configured build (default build/asan).
#
# bugprone-easily-swappable-parameters is left out: it asks for a different
# shape of interfaces (section and key, path and text), not for a fault.
set -uo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/asan}
files=(
  bus/serial/tarn_telegram.cpp
  bus/can/can_sdo.cpp
  bus/can/can_open_slots.cpp
  platform/files/ini_document.cpp
  toolkit/profile/gw_profile.cpp
  service/firmware/intel_hex.cpp
  service/firmware/hex_image.cpp
  service/firmware/boot_transfer.cpp
  plceditor/core/programme_file.cpp
  plceditor/core/plc_compiler_files.cpp
  plceditor/v110/line_table8_files.cpp
  parameters/parabase/para_file_set.cpp
  parameters/parabase/para_description_file.cpp
  parameters/parabase/value_text_table.cpp
  parameters/parabase/strings_profile.cpp
)

if ! command -v clang-tidy >/dev/null; then
  echo "clang-tidy is missing: run scripts/install-deps.sh" >&2
  exit 1
fi
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "no $build_dir/compile_commands.json: configure that build first" >&2
  exit 1
fi

printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build_dir" --quiet \
    --checks='-*,bugprone-*,-bugprone-easily-swappable-parameters' --warnings-as-errors='*' \
    2> >(grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' >&2)
