#!/usr/bin/env bash
# Sets up this machine, builds the suite (Release) and renders the bundled
# example scene with glintcmd to out/showcase.ppm.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" >/dev/null

mkdir -p out
scene=${1:-examples/showcase.gsc}
image=${2:-out/$(basename "${scene%.*}").ppm}
# glintcmd waits for one character when it is done; give it none.
build/cmd/glintcmd "$scene" "$image" </dev/null
echo "Rendered $scene to $image"
