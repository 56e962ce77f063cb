#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
set -euo pipefail
# dbus-daemon brings dbus-run-session, which the automation tests run under, and dbus-send;
# libglib2.0-bin brings gdbus, the command-line client the README's automation examples
# use; python3-dbus is the Python client the automation tests also read errors with.
packages=(cmake g++ ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-liberation fontconfig poppler-utils dbus-daemon libglib2.0-bin
          python3-dbus zlib1g-dev libjpeg62-turbo-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
