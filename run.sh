#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
# Only what the program needs; test.sh builds and runs the tests and benchmarks.
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release --target orvale_program
# The grabber plug-ins built beside the program are registered, so that it can create them.
shopt -s nullglob
plugins=(build/app/OVVGPlug*.so)
if ((${#plugins[@]})); then
  build/platform/com/orvale_regsvr "${plugins[@]}"
fi
exec build/app/orvale "$PWD/samples/sample.jpg"
