#!/usr/bin/env bash
# Fresh Debian 12 machine -> dependencies, build, then the main job: a bundled
# letter run from the drawing to the end-of-job question on the simulated
# machine, in a fresh application folder under ./run/. Needs no display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
app="$KORVEL_ROOT/run/app"
rm -rf "$app"
"$KORVEL_BUILD/cli/korvel-cli" job "$KORVEL_ROOT/examples/letterD.dxf" --appdir "$app" --end 50
