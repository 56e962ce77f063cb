#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
if [ -x build/app/orvale ]; then
  exec build/app/orvale "$PWD/samples/sample.jpg"
fi
echo "Built the libraries and tests; the main window is not part of this build yet."
