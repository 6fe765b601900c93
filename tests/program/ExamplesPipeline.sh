#!/bin/sh
# The bundled letters from drawing to the end of the job: import, select
# every outline, prepare, generate, and run the program on the simulated
# machine until the end-of-job question. Usage: ExamplesPipeline.sh CLI EXAMPLES
set -eu
cli="$1"
examples="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for letter in ringO letterD; do
    dir="$work/$letter"
    "$cli" import "$examples/$letter.dxf" --appdir "$dir" > /dev/null
    "$cli" select --appdir "$dir" --all > /dev/null
    "$cli" prepare --appdir "$dir" > /dev/null
    "$cli" generate --appdir "$dir" --runs 2 --join 15 --end 20 > "$work/generate.txt"
    grep -q '^lines [1-9]' "$work/generate.txt"
    "$cli" run --appdir "$dir" --max-seconds 3000 > "$work/run.txt" 2>&1
    grep -q 'Work Finished' "$work/run.txt" || { cat "$work/run.txt"; exit 1; }
    # The strip ends where the total machining length says.
    total=$(sed -n 's/^total length \([0-9.]*\)  mm$/\1/p' "$work/generate.txt")
    x=$(sed -n 's/^positions X \([0-9.]*\) .*/\1/p' "$work/run.txt")
    awk -v a="$total" -v b="$x" 'BEGIN { d = a - b; if (d < 0) d = -d; exit (d < 0.01 ? 0 : 1) }' ||
        { echo "$letter: total $total but the feed ended at $x"; exit 1; }
done
echo "examples run to the end"
