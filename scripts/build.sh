#!/usr/bin/env bash
# Configures and builds one build directory:
#   scripts/build.sh <dir> [cmake options...] [--target <target>...]
# Without --target it builds everything.
set -euo pipefail
dir=$1; shift
options=()
while (($#)) && [[ $1 != --target ]]; do options+=("$1"); shift; done
cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "$@"
