#!/usr/bin/env bash
# Fresh Debian 12 machine -> dependencies, build, every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$KORVEL_BUILD"
ctest --output-on-failure -j "$(nproc)"
