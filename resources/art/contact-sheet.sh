#!/usr/bin/env bash
# Renders every SVG of this folder and lays the pictures out enlarged (nearest neighbour, so each
# pixel shows as a block) on the window background, one row per picture, for checking by eye.
# Usage: contact-sheet.sh OUTPUT.png [ZOOM]
set -euo pipefail
out=${1:?output png}
zoom=${2:-6}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

row() { # name: all sizes of one picture, enlarged, side by side
    local name=$1 files=()
    for svg in $(ls "$here"/"$name"_*.svg | sort -t_ -k2 -V); do
        local base
        base=$(basename "$svg" .svg)
        rsvg-convert -o "$work/$base.png" "$svg"
        # Large icons would swamp the sheet: they are shown at a smaller whole-number zoom.
        local height z=$zoom
        height=$(identify -format %h "$work/$base.png")
        [ "$height" -le 64 ] || z=$((zoom * 64 / height > 0 ? zoom * 64 / height : 1))
        convert "$work/$base.png" -scale "$((z * 100))%" -background '#18191e' -flatten \
            -bordercolor '#303139' -border 1 "$work/$base.big.png"
        files+=("$work/$base.big.png")
    done
    convert -background '#18191e' "${files[@]}" -bordercolor '#18191e' -border 6 -gravity center \
        +append "$work/row_$name.png"
}

names=(close minimize maximize restore check_off check_on expand_up expand_down chevron_strip logo icon)
rows=()
for n in "${names[@]}"; do
    row "$n"
    rows+=("$work/row_$n.png")
done
convert -background '#18191e' "${rows[@]}" -gravity west -append +repage "$out"
echo "$out"
