#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
# The grabber plug-ins built beside the program are registered, so that it can create them.
shopt -s nullglob
plugins=(build/app/OVVGPlug*.so)
if ((${#plugins[@]})); then
  build/platform/com/orvale_regsvr "${plugins[@]}"
fi
# A machine without a camera grabs from the synthetic one (a known fringe pattern); a
# value already set is kept.
if ! compgen -G "/dev/video*" >/dev/null; then
  export ORVALE_CAPTURE_SYNTHETIC="${ORVALE_CAPTURE_SYNTHETIC-1}"
fi
exec build/app/orvale "$PWD/samples/sample.jpg"
