#!/usr/bin/env bash
# make-icon.sh OUTDIR
# Draws Dovrel's icon, a printer above its parallel port, at 48, 32 and
# 16 pixels and packs the images into the two icon files that Dovrel.rc
# names:
#   OUTDIR/Dovrel-main.ico  icon group "A_MAIN": every size in 16 and in
#                           256 colours
#   OUTDIR/Dovrel-file.ico  the program file's icon: 32 px monochrome,
#                           32 and 16 px in 16 colours
# Each size is drawn on its own pixel grid, so that the small one stays
# sharp; the colours are those of the standard 16-colour palette.
# Needs ImageMagick (convert, or magick from version 7) and icotool.
set -euo pipefail

out=$(readlink -m "${1:?usage: make-icon.sh OUTDIR}")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if command -v magick >/dev/null 2>&1; then
    im=(magick)
else
    im=(convert)
fi

paper='#ffffff'
text='#808080'
body='#c0c0c0'
shade='#808080'
led='#00ff00'
shell='#c0c0c0'
insulator='#000080'
pin='#ffff00'

# draw SIZE FILE DRAW-ARGUMENTS...: a transparent square, drawn unsmoothed
# with one-pixel black outlines.
draw() {
    local size=$1 file=$2
    shift 2
    "${im[@]}" -size "${size}x${size}" xc:none +antialias -strokewidth 1 "$@" "$file"
}

draw 48 "$work/48.png" \
    -stroke black -fill "$paper" -draw 'rectangle 13,2 34,17' \
    -stroke "$text" -draw 'line 16,6 31,6' -draw 'line 16,9 31,9' -draw 'line 16,12 27,12' \
    -stroke black -fill "$body" -draw 'rectangle 3,15 44,33' \
    -stroke none -fill "$shade" -draw 'rectangle 4,27 43,32' \
    -stroke black -draw 'line 11,19 36,19' \
    -stroke none -fill "$led" -draw 'rectangle 38,21 40,22' \
    -stroke black -fill "$shell" -draw 'polygon 7,33 40,33 37,46 10,46' \
    -fill "$insulator" -draw 'polygon 11,36 36,36 34,43 13,43' \
    -stroke none -fill "$pin" \
    -draw 'point 13,38 point 16,38 point 19,38 point 22,38 point 25,38 point 28,38 point 31,38 point 34,38' \
    -draw 'point 15,41 point 18,41 point 21,41 point 24,41 point 27,41 point 30,41 point 33,41'

draw 32 "$work/32.png" \
    -stroke black -fill "$paper" -draw 'rectangle 9,1 22,11' \
    -stroke "$text" -draw 'line 11,4 20,4' -draw 'line 11,7 18,7' \
    -stroke black -fill "$body" -draw 'rectangle 2,10 29,22' \
    -stroke none -fill "$shade" -draw 'rectangle 3,18 28,21' \
    -stroke black -draw 'line 7,13 24,13' \
    -stroke none -fill "$led" -draw 'rectangle 25,15 26,15' \
    -stroke black -fill "$shell" -draw 'polygon 4,22 27,22 25,31 6,31' \
    -fill "$insulator" -draw 'polygon 7,24 24,24 23,29 8,29' \
    -stroke none -fill "$pin" \
    -draw 'point 9,25 point 11,25 point 13,25 point 15,25 point 17,25 point 19,25 point 21,25' \
    -draw 'point 10,27 point 12,27 point 14,27 point 16,27 point 18,27 point 20,27 point 22,27'

draw 16 "$work/16.png" \
    -stroke black -fill "$paper" -draw 'rectangle 4,0 11,4' \
    -stroke none -fill "$text" -draw 'line 6,2 9,2' \
    -stroke black -fill "$body" -draw 'rectangle 0,4 15,10' \
    -stroke none -fill "$shade" -draw 'rectangle 1,8 14,9' \
    -fill black -draw 'line 3,6 10,6' \
    -fill "$led" -draw 'point 13,6' \
    -stroke black -fill "$shell" -draw 'polygon 2,10 13,10 12,15 3,15' \
    -stroke none -fill "$insulator" -draw 'rectangle 4,12 11,13' \
    -fill "$pin" -draw 'point 5,12 point 7,12 point 9,12 point 11,12 point 6,13 point 8,13 point 10,13'

# The standard 16-colour palette, for the 16-colour images.
palette=()
for colour in 000000 800000 008000 808000 000080 800080 008080 c0c0c0 \
              808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff; do
    palette+=("xc:#$colour")
done
"${im[@]}" "${palette[@]}" +append "$work/palette.png"

# Icons keep only fully transparent and fully opaque pixels (their mask),
# so the colour images are reduced and then given back their shape.
for size in 48 32 16; do
    "${im[@]}" "$work/$size.png" -alpha extract -threshold 50% "$work/$size-mask.png"
    "${im[@]}" "$work/$size.png" -alpha off -dither None -remap "$work/palette.png" \
        "$work/$size-mask.png" -alpha off -compose CopyOpacity -composite "$work/$size-16c.png"
done
"${im[@]}" "$work/32.png" -alpha off -colorspace Gray -threshold 60% \
    "$work/32-mask.png" -alpha off -compose CopyOpacity -composite "$work/32-mono.png"

# icotool takes the bit depth of each image from the -b before it.
icotool -c -o "$out/Dovrel-main.ico" \
    -b 4 "$work/48-16c.png" -b 4 "$work/32-16c.png" -b 4 "$work/16-16c.png" \
    -b 8 "$work/48.png" -b 8 "$work/32.png" -b 8 "$work/16.png"
icotool -c -o "$out/Dovrel-file.ico" \
    -b 1 "$work/32-mono.png" -b 4 "$work/32-16c.png" -b 4 "$work/16-16c.png"
