#!/usr/bin/env bash
# Configures and builds one build directory: scripts/build.sh <dir> [cmake options...]
set -euo pipefail
dir=$1; shift
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
