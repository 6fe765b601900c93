#!/usr/bin/env bash
# Fresh Debian 12 machine -> dependencies, build, then the main job: a bundled
# letter imported into a fresh application folder under ./run/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
app="$KORVEL_ROOT/run/app"
rm -rf "$app"
"$KORVEL_BUILD/cli/korvel-cli" import "$KORVEL_ROOT/examples/ringO.dxf" --appdir "$app"
