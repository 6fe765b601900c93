#!/bin/sh
# A command korvel-cli refuses changes nothing in the application folder,
# and a folder that cannot take a change makes the command fail: refused
# pieces, exports named like the folder's own files, parameter groups that
# cannot be stored. A folder named like a temporary file stands for a disk
# that takes no more (chmod does not stop root).
# Usage: RefusedCommands.sh CLI EXAMPLES
set -eu
cli="$1"
examples="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dir="$work/app"
"$cli" import "$examples/letterD.nc" --plane -1 --appdir "$dir" > /dev/null
"$cli" select --appdir "$dir" --all > /dev/null
"$cli" params --appdir "$dir" groups > "$work/groups.txt"
snapshot() { (cd "$dir" && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
# refuse WHAT ARGS...: exit code 1, a message, the folder as it was.
refuse() {
    what="$1"
    shift
    status=0
    "$cli" "$@" > "$work/out.txt" 2> "$work/err.txt" || status=$?
    [ "$status" = 1 ] || { echo "$what: exit code $status"; cat "$work/out.txt"; exit 1; }
    [ -s "$work/err.txt" ] || { echo "$what: no message"; exit 1; }
    [ "$before" = "$(snapshot)" ] || { echo "$what: the folder changed"; exit 1; }
}
for piece in 9:1:1 bogus 1:0:0 nan:1:1 1:1:99; do
    refuse "select $piece" select --appdir "$dir" "$piece"
    refuse "select 1:1:1 $piece" select --appdir "$dir" 1:1:1 "$piece"
    refuse "select --append $piece" select --append --appdir "$dir" 1:1:1 "$piece"
done
for name in CtrP.dat G5.dat pointforcontrol.DAT ParaGroup.ini ShapePLT.plt; do
    refuse "export-engrave $name" export-engrave "$name" --depth 0.8 --width 40 \
        --spindle 18000 --feed 600 --appdir "$dir"
done
mkdir "$dir/ParaGroup.ini.tmp"
refuse "params switch" params --appdir "$dir" switch 3 4
grep -q "Current Sys Parameter" "$work/out.txt" && { echo "switch reported"; exit 1; }
rmdir "$dir/ParaGroup.ini.tmp"
"$cli" params --appdir "$dir" groups | cmp -s - "$work/groups.txt" || { echo "groups changed"; exit 1; }
mkdir "$dir/SysPara/SYS_9.ini.tmp" "$dir/SysPara/pfjj_9.ini.tmp"
refuse "params copy-params" params --appdir "$dir" copy-params
refuse "params copy-curv" params --appdir "$dir" copy-curv
echo "refused commands change nothing"
