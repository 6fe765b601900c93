#!/usr/bin/env bash
# Installs the Debian packages the build and tests need (only what is
# missing), then configures and builds. Sourced by run.sh and test.sh.
set -euo pipefail

KORVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORVEL_BUILD="${KORVEL_BUILD:-$KORVEL_ROOT/build/default}"

packages=(build-essential cmake ninja-build pkg-config
          libgtest-dev libgmock-dev googletest libbenchmark-dev
          # the operator's windows: Qt 6 Widgets with OpenGL widgets, a
          # virtual X server with Mesa's software renderer for the OpenGL
          # tests and pictures, and a font with Chinese characters
          qt6-base-dev libqt6opengl6-dev libgl1-mesa-dev libgl1-mesa-dri
          xvfb xauth fonts-wqy-microhei
          # drawings as shops have them: SVG through pugixml, letters typed
          # in an installed font through FreeType and fontconfig (DejaVu for
          # the tests); dxflib only as the yardstick of the import benchmark
          libpugixml-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
          libdxflib-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$KORVEL_ROOT" -B "$KORVEL_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$KORVEL_BUILD"
