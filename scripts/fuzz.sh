#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each of them for the given number of
# seconds over its corpus. Exits non-zero when a target finds a crash, a leak,
# a hang or undefined behaviour, or cannot be built.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS defaults to 30. Targets (all by default):
#   engine_ppm  the engine's PPM reader (imgReadPPM in engine/image.cpp)
#   diff_ppm    glintdiff's PPM reader (imgReadPPM in diff/image.cpp)
#   scene_view  sceReadFile as glintview builds the engine
#   scene_cmd   sceReadFile as glintcmd builds it (its own object limit and
#               box reader)
#
# The targets live in fuzz/; their committed corpora in fuzz/corpus/ppm and
# fuzz/corpus/scene (each shared by the two readers of its format), to which
# the example scenes and images are added as seeds, and the inputs that once
# made a reader fail in fuzz/regressions/. New inputs found
# during a run go to the build folder (GLINT_FUZZ_DIR, default build-fuzz),
# crashing inputs to build-fuzz/artifacts/<target>/. GLINT_FUZZ_JOBS (default
# 4) bounds how many targets run at once.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

SECONDS_PER_TARGET=${1:-30}
shift || true
ALL_TARGETS=(engine_ppm diff_ppm scene_view scene_cmd)
if [ $# -gt 0 ]; then TARGETS=("$@"); else TARGETS=("${ALL_TARGETS[@]}"); fi
OUT=${GLINT_FUZZ_DIR:-$ROOT/build-fuzz}
JOBS=${GLINT_FUZZ_JOBS:-4}
CXX=${GLINT_FUZZ_CXX:-clang++}

mkdir -p "$OUT"

CXXFLAGS=(-std=c++17 -g -O1 -fno-omit-frame-pointer -ffp-contract=off
          -fmacro-prefix-map="$ROOT"/= -I"$ROOT"
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

engine_sources() { ls "$ROOT"/engine/*.cpp; }

# glintcmd's build of the engine: the same engine sources with its own forms
# selected, its object limit, and its variant sources from cmd/.
CMD_VARIANT_SOURCES=(cmd/material.cpp cmd/object.cpp cmd/render.cpp cmd/scenetable.cpp)

sources_of() {
  case $1 in
    engine_ppm) echo fuzz/ppm.cpp engine/image.cpp common/ppmformat.cpp common/rgbimage.cpp ;;
    diff_ppm)   echo fuzz/ppm.cpp diff/image.cpp common/ppmformat.cpp common/rgbimage.cpp ;;
    scene_view) echo fuzz/scene.cpp; engine_sources; echo common/ppmformat.cpp common/rgbimage.cpp ;;
    scene_cmd)  echo fuzz/scene.cpp; engine_sources; echo common/ppmformat.cpp common/rgbimage.cpp "${CMD_VARIANT_SOURCES[@]}" ;;
    *) echo "unknown fuzz target: $1" >&2; return 1 ;;
  esac
}

defines_of() {
  case $1 in
    diff_ppm)  echo -DGLINT_FUZZ_DIFF ;;
    scene_cmd) echo -DGLINT_CMD_FORMS -DGLINT_MAX_OBJECTS=64 ;;
  esac
}

# Seeds besides the committed corpus: the project's own example files.
seed_files_of() {
  case $1 in
    engine_ppm|diff_ppm) ls "$ROOT"/examples/*.ppm 2>/dev/null || true ;;
    scene_view|scene_cmd) ls "$ROOT"/examples/*.gsc 2>/dev/null || true ;;
  esac
}

dict_of() {
  case $1 in
    engine_ppm|diff_ppm) echo "$ROOT/fuzz/ppm.dict" ;;
    scene_view|scene_cmd) echo "$ROOT/fuzz/scene.dict" ;;
  esac
}

# The two PPM readers share one corpus, and so do the two scene readers.
corpus_of() {
  case $1 in
    engine_ppm|diff_ppm) echo ppm ;;
    scene_view|scene_cmd) echo scene ;;
  esac
}

regressions_of() {
  case $1 in
    engine_ppm|diff_ppm) echo engine_ppm diff_ppm ;;
    scene_view|scene_cmd) echo scene_view scene_cmd ;;
  esac
}

# Scene lines and words have no length limit: let inputs grow past the
# examples' size.
extra_args_of() {
  case $1 in
    scene_view|scene_cmd) echo -max_len=8192 ;;
  esac
}

build_target() {
  local t=$1 srcs
  srcs=$(sources_of "$t") || return 1
  local s
  for s in $srcs; do
    [ -f "$s" ] || [ -f "$ROOT/$s" ] || { echo "$t: missing source $s" >&2; return 1; }
  done
  # shellcheck disable=SC2046
  (cd "$ROOT" && "$CXX" "${CXXFLAGS[@]}" $(defines_of "$t") $srcs -lm -o "$OUT/$t")
}

run_target() {
  local t=$1
  local corpus="$OUT/corpus/$t" seeds="$OUT/seeds/$t" art="$OUT/artifacts/$t"
  mkdir -p "$corpus" "$seeds" "$art"
  rm -f "$seeds"/*
  local f
  for f in $(seed_files_of "$t"); do cp "$f" "$seeds/"; done
  local dirs=("$corpus" "$seeds")
  [ -d "$ROOT/fuzz/corpus/$(corpus_of "$t")" ] && dirs+=("$ROOT/fuzz/corpus/$(corpus_of "$t")")
  # Inputs that once crashed a reader are replayed first; the two PPM readers
  # share theirs.
  local r
  for r in $(regressions_of "$t"); do
    [ -d "$ROOT/fuzz/regressions/$r" ] && dirs+=("$ROOT/fuzz/regressions/$r")
  done
  # The scene targets resolve relative texture names next to the scene file,
  # in the target's private folder; the example images are copied there.
  local tmp="$OUT/tmp/$t"
  mkdir -p "$tmp"
  TMPDIR="$tmp" GLINT_FUZZ_ASSETS="$ROOT/examples" "$OUT/$t" \
    -max_total_time="$SECONDS_PER_TARGET" -timeout=20 -rss_limit_mb=2560 \
    -dict="$(dict_of "$t")" -artifact_prefix="$art/" -print_final_stats=1 $(extra_args_of "$t") \
    "${dirs[@]}" </dev/null >"$OUT/$t.log" 2>&1
}

echo "=== fuzz: building ${TARGETS[*]}"
declare -A build_pid=()
for t in "${TARGETS[@]}"; do
  rm -f "$OUT/$t"
  build_target "$t" >"$OUT/$t.build.log" 2>&1 &
  build_pid[$t]=$!
done
failed=0
for t in "${TARGETS[@]}"; do
  if ! wait "${build_pid[$t]}"; then
    echo "=== fuzz: $t does not build:"; cat "$OUT/$t.build.log"; failed=1
  fi
done
[ $failed -eq 0 ] || exit 1

echo "=== fuzz: running each target for ${SECONDS_PER_TARGET}s (${JOBS} at a time)"
declare -A pid_of=()
for t in "${TARGETS[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do sleep 1; done
  run_target "$t" &
  pid_of[$t]=$!
done
for t in "${TARGETS[@]}"; do
  if wait "${pid_of[$t]}"; then status=ok; else status=FAILED; failed=1; fi
  stats=$(grep -E '^stat::(number_of_executed_units|new_units_added)' "$OUT/$t.log" \
          | sed 's/^stat:://' | tr '\n' ' ' || true)
  cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$OUT/$t.log" | tail -1 || true)
  echo "--- $t: $status; $cov; $stats"
  if [ "$status" = FAILED ]; then
    tail -n 60 "$OUT/$t.log"
    echo "(full log: $OUT/$t.log; crashing inputs: $OUT/artifacts/$t/)"
  fi
done
exit $failed
