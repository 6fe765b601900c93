#!/bin/sh
# Absurd and non-finite numbers typed at korvel-cli or found in a folder's
# files: each is refused with exit code 1 and a message that repeats what
# was typed and gives the allowed range, and no file holds NaN or Inf after.
# Usage: NumberCommands.sh CLI EXAMPLES
set -eu
cli="$1"
examples="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dir="$work/folder"
"$cli" import "$examples/letterD.dxf" --appdir "$dir" > /dev/null
"$cli" select --all --appdir "$dir" > /dev/null
cp "$dir/CtrP.dat" "$work/CtrP.before"

# refused EXPECTED COMMAND...: exit code 1 and EXPECTED in the message.
refused() {
    expected="$1"
    shift
    if "$cli" "$@" > "$work/out.txt" 2> "$work/err.txt"; then
        echo "accepted: $*"; exit 1
    fi
    grep -qF -- "$expected" "$work/err.txt" "$work/out.txt" ||
        { echo "$*:"; cat "$work/err.txt" "$work/out.txt"; exit 1; }
}

refused "Option --offset needs a number: nan" prepare --offset nan --appdir "$dir"
refused "Option --offset needs a number: inf" prepare --offset inf --appdir "$dir"
refused "Option --offset: 1e308 is out of range (-100 .. 100)" prepare --offset 1e308 --appdir "$dir"
refused "Option --join: -1 is out of range (0 .. 1000000)" prepare --join -1 --appdir "$dir"
cmp -s "$dir/CtrP.dat" "$work/CtrP.before" || { echo "CtrP.dat changed"; exit 1; }
refused "Option --densify: 1e308 is out of range (a whole number 1 .. 32767)" import "$examples/letterD.dxf" --densify 1e308 --appdir "$work/other"
refused "Option --density: 1e308 is out of range (0 .. 100)" glue --density 1e308 --thickness 1 --appdir "$dir"
refused "Piece 99999999999:1:1: the outline number 99999999999 is out of range (-32768 .. 32767)" select 99999999999:1:1 --appdir "$dir"
refused "the node ordinal 99999999999 is out of range" select 1:1:99999999999 --appdir "$dir"
refused "Machining count must be a whole number" generate --runs '&HFFFFFFFFFFFFFFFF' --appdir "$dir"
refused "Machining count must be a whole number" generate --runs 40000 --appdir "$dir"

# A parameter beyond its range is refused and the group file keeps its value.
refused "ArcCorrPos: the value 1e308 is out of range (-100 .. 100)" params set ArcCorrPos 1e308 --appdir "$dir"
[ "$("$cli" params get ArcCorrPos --appdir "$dir")" = "0" ]

# A display file broken on disk: the export refuses it and writes nothing.
printf 'SPLINE 1\r\n1E+308 0 Node\r\n10 0 Node\r\nSPLINE END\r\n' > "$dir/PointForDisplay.dat"
refused "Coordinate out of range (line 2: 1E+308 0 Node" export-plt --appdir "$dir"
[ ! -e "$dir/ShapePLT.plt" ] || { echo "ShapePLT.plt written"; exit 1; }
if grep -l 'Inf\|NaN' "$dir"/*.dat; then
    echo "a file holds Inf or NaN"; exit 1
fi
echo "numbers refused"
