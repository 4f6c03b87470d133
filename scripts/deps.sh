#!/usr/bin/env bash
# Installs, with apt-get, whatever of the suite's build and test dependencies
# this Debian machine lacks. Run as root (or with sudo available).
set -euo pipefail

PACKAGES=(
  g++ cmake make pkg-config
  libgtest-dev libbenchmark-dev
  libfltk1.3-dev
  xvfb xauth xdotool x11-utils imagemagick netpbm
  valgrind clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
