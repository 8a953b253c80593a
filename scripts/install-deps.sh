#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine.
# Runs non-interactively; does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential clang lld cmake ninja-build python3 ccache clang-tidy clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils libcairo2-dev libfontconfig-dev libfreetype-dev
  qt6-base-dev qt6-wayland libx11-dev fonts-dejavu-core
  xvfb xauth xdotool imagemagick openbox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "not root: install these packages first: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
