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
# D-Bus starts the program for an automation client when it is not running.
services="${XDG_DATA_HOME:-$HOME/.local/share}/dbus-1/services"
mkdir -p "$services"
printf '[D-BUS Service]\nName=com.halvern.Orvale\nExec=%s -Embedding\n' "$PWD/build/app/orvale" \
  > "$services/com.halvern.Orvale.service"
# A machine without a camera grabs from the synthetic one (a known fringe pattern); a
# value already set is kept.
if ! compgen -G "/dev/video*" >/dev/null; then
  export ORVALE_CAPTURE_SYNTHETIC="${ORVALE_CAPTURE_SYNTHETIC-1}"
fi
exec build/app/orvale "$PWD/samples/sample.jpg"
