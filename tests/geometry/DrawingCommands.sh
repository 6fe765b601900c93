#!/bin/sh
# The drawing commands of korvel-cli on the letter D in every format:
# import, whole-letter selection, area, glue, mirror and the two exports; a
# broken drawing is refused with exit code 1 and leaves the display file.
# Usage: DrawingCommands.sh CLI EXAMPLES BADDATA
set -eu
cli="$1"
examples="$2"
bad="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in letterD.dxf letterD.nc letterD.plt letterD.ai letterD.svg; do
    dir="$work/$f"
    "$cli" import "$examples/$f" --plane -1 --appdir "$dir" > "$work/import.txt"
    grep -q '^outlines 1 points [1-9]' "$work/import.txt"
    "$cli" select --appdir "$dir" --all > /dev/null
    area=$("$cli" area --appdir "$dir" | sed -n 's/^Select Area is about \([0-9.]*\) square millimeter$/\1/p')
    # 30 x 90 + pi * 45^2 / 2 = 5880.86 mm^2, within half a percent.
    awk -v a="$area" 'BEGIN { d = a - 5880.86; if (d < 0) d = -d; exit (d < 29.4 ? 0 : 1) }' ||
        { echo "$f: area $area"; exit 1; }
    "$cli" glue --density 1.2 --thickness 0.1 --appdir "$dir" | grep -q '^Glue dosage is about 7\.05[0-9] grame$' ||
        { echo "$f: glue"; exit 1; }
    "$cli" export-plt --appdir "$dir" > /dev/null
    grep -q '^SP0;' "$dir/ShapePLT.plt"
    "$cli" export-engrave grooves.nc --depth 0.8 --width 40 --spindle 18000 --feed 600 \
        --appdir "$dir" | grep -q '^grooves 3 '
    grep -q '^X45.000' "$dir/grooves.nc"
    before=$(cat "$dir/PointForDisplay.dat")
    if "$cli" import "$bad/huge-coordinate.plt" --appdir "$dir" 2> "$work/err.txt"; then
        echo "$f: broken drawing accepted"; exit 1
    fi
    grep -q 'Coordinate out of range' "$work/err.txt"
    [ "$before" = "$(cat "$dir/PointForDisplay.dat")" ]
    "$cli" mirror --appdir "$dir" > /dev/null
    "$cli" mirror --appdir "$dir" > /dev/null
done
# A typed word goes the whole way: letters, whole-letter selection, the job
# and its run on the simulated machine.
dir="$work/text"
"$cli" text "8O" --font "DejaVu Sans" --height 300 --appdir "$dir" | grep -q '^outlines 5 points [1-9]'
"$cli" select --appdir "$dir" --all | grep -q '^pieces 5$'
"$cli" generate --appdir "$dir" > /dev/null
"$cli" run --appdir "$dir" --answer yes --max-seconds 600 | grep -q '^lines executed [1-9]'

# A letter drawn as separate lines and arcs chains into its outer contour and
# its hole and runs as a job on the simulated machine.
"$cli" job "$examples/letterP.dxf" --appdir "$work/P" > "$work/job.txt"
grep -q '^outlines 2$' "$work/job.txt"
grep -q '^pieces 2$' "$work/job.txt"
grep -q '^finished paths' "$work/job.txt"
echo "drawing commands work"
