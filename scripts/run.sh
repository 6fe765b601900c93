#!/usr/bin/env bash
# Fresh Debian 12 machine -> dependencies, build, then the main job.
# With a display: the operator window opens on a fresh application folder
# under ./run/ with the bundled letter, ready to be picked and run with the
# mouse. Without one: the bundled letter runs headless from the drawing to
# the end-of-job question on the simulated machine (the job report), then
# the operator window does the same job offscreen and its picture is saved
# to run/main-window.png, whose path is printed last.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
letter="$KORVEL_ROOT/examples/letterD.dxf"
app="$KORVEL_ROOT/run/app"
rm -rf "$app"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$KORVEL_BUILD/ui/korvel" --appdir "$app" --open "$letter"
fi

"$KORVEL_BUILD/cli/korvel-cli" job "$letter" --appdir "$app" --end 50

window_app="$KORVEL_ROOT/run/window-app"
rm -rf "$window_app"
QT_QPA_PLATFORM=offscreen "$KORVEL_BUILD/ui/korvel" --appdir "$window_app" --open "$letter" \
  --select-all --run --answer no --screenshot "$KORVEL_ROOT/run/main-window.png" --quit \
  2>/dev/null
