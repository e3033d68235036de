#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  libqt6uitools6 libqt6opengl6-dev libgl-dev libxkbcommon-dev
  libgtest-dev googletest
  qt6-qpa-plugins fonts-dejavu-core
  lintian desktop-file-utils appstream binutils
  xvfb python3-xlib
  xdotool python3-dbus dbus-daemon at-spi2-core
  weston qt6-wayland
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
