#!/usr/bin/env bash
# The code image in every file format, as other programs see it: zbarimg reads quillmark-cli's
# PNG and JPEG files and its SVG rendered by rsvg-convert at the resolution the SVG states (1 unit
# is 1 pixel of the raster); that rendering of an unscaled image equals the BMP pixel for pixel
# outside the two text bands, where only the glyphs' anti-aliasing may differ.
#
#   FileFormats.sh PATH/TO/quillmark-cli
set -euo pipefail

cli=$(realpath "$1")
for tool in zbarimg rsvg-convert convert compare identify; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed; scripts/bootstrap installs it" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

failed=0
check() { # WHAT EXPECTED GOT
    [ "$2" = "$3" ] || { failed=$((failed + 1)); echo "FAIL $1: expected '$2', got '$3'"; }
}
# IMAGE's pixels as grey, white over the text bands and under any transparency.
without_bands() {
    convert "$1" -background white -flatten -crop 525x276+0+0 +repage -fill white \
        -draw 'rectangle 15,95 184,106' -draw 'rectangle 15,215 184,226' -colorspace gray "$2"
}

# TYPE DATA READ DPI OPTIONS...: every format of one code image, read back.
row=0
formats() {
    local type=$1 data=$2 read=$3 dpi=$4 base=row$((row += 1))
    shift 4
    for format in bmp png jpg svg; do
        "$cli" --type "$type" --data "$data" --dpi "$dpi" "$@" --output "$base.$format"
    done
    rsvg-convert --dpi-x "$dpi" --dpi-y "$dpi" "$base.svg" -o "$base.svg.png" 2>/dev/null
    check "size of the SVG rendered at $dpi dpi ($type $data $*)" "$(identify -format %wx%h "$base.png")" \
        "$(identify -format %wx%h "$base.svg.png")"
    for file in "$base.png" "$base.jpg" "$base.svg.png"; do
        check "zbarimg on $file ($type $data $*)" "$read" \
            "$(zbarimg --nodbus -q --raw "$file" 2>/dev/null | sort -u)"
    done
    if [[ " $* " != *' --scale '* ]]; then
        without_bands "$base.bmp" bmp.png
        without_bands "$base.svg.png" svg.png
        check "SVG against BMP outside the bands ($type $data $*)" 0 \
            "$(compare -metric AE bmp.png svg.png null: 2>&1 || true)"
    fi
}

formats 'Code EAN13' 590123412345 5901234123457 96
formats 'Code 128B' 'Hello, world' 'Hello, world' 96 --single
formats 'Code 39' CODE-39 CODE-39P 300 --scale 2
formats 'Code 93' 'QUILL MARK' 'QUILL MARK' 600 --no-text --scale 3

# The symbol's SVG fills whole pixels at the resolution it was written for: no transparent row or
# column at its edges, every pixel painted.
for dpi in 203 300 600; do
    "$cli" --symbol --type 'Code 128B' --data 'Hello, world' --dpi "$dpi" --output "symbol$dpi.svg"
    rsvg-convert --dpi-x "$dpi" --dpi-y "$dpi" "symbol$dpi.svg" -o "symbol$dpi.png" 2>/dev/null
    check "the symbol's SVG rendered at $dpi dpi is opaque" true \
        "$(convert "symbol$dpi.png" -format '%[opaque]' info:)"
done

[ "$failed" -eq 0 ] && echo "all formats read back"
