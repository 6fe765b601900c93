#!/bin/sh
# korvel-cli on a card driver library: the job on the test driver reports
# what the simulated machine reports, and a missing driver says so while the
# job runs on the simulated machine. Usage: CardCommands.sh CLI DRIVER EXAMPLES
set -eu
cli="$1"
driver="$2"
examples="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Without the lines that differ by nature: the folder, the wall time, the card.
report() { grep -v -e '^application folder ' -e '^wall time ' -e '^card ' "$1"; }

"$cli" job "$examples/letterD.dxf" --appdir "$work/simulated" > "$work/simulated.txt"
"$cli" job "$examples/letterD.dxf" --appdir "$work/library" --card "library:$driver" \
    > "$work/library.txt"
grep -q "^card Card driver $driver, card 0 (simulator driver, virtual time)\$" "$work/library.txt" ||
    { cat "$work/library.txt"; exit 1; }
grep -q 'Work Finished' "$work/library.txt"
report "$work/simulated.txt" > "$work/a"
report "$work/library.txt" > "$work/b"
diff "$work/a" "$work/b"

"$cli" job "$examples/letterD.dxf" --appdir "$work/missing" --card "library:$work/none.so" \
    > "$work/missing.txt"
grep -q "^alarm: .*8940A1 motion card is not installed correctly: driver library $work/none.so not found" \
    "$work/missing.txt" || { cat "$work/missing.txt"; exit 1; }
grep -q '^card Simulated machine (motion card not ready)$' "$work/missing.txt"
grep -q 'Work Finished' "$work/missing.txt"
echo "the job on the card driver reports what the simulated machine reports"
