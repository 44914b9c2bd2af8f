#!/usr/bin/env bash
# The code image in every file format, as other programs see it: quillmark-cli writes PNG, JPEG
# and SVG files; zbarimg reads the PNG and JPEG files and the SVG rendered by rsvg-convert at
# the resolution the SVG states (so 1 unit is 1 pixel of the raster). The SVG of an unscaled
# image rendered that way equals the BMP pixel for pixel outside the two text bands, where only
# the glyphs' anti-aliasing differs, and the text's ink spans the columns and rows of the BMP's
# within a pixel.
#
#   FileFormats.sh PATH/TO/quillmark-cli
#
# Tools: zbarimg (zbar-tools), rsvg-convert (librsvg2-bin) and ImageMagick's convert, installed
# by scripts/bootstrap.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PATH/TO/quillmark-cli" >&2
    exit 2
fi
cli=$(realpath "$1")
for tool in zbarimg rsvg-convert convert; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed; scripts/bootstrap installs it" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

passed=0 failed=0
check() { # WHAT EXPECTED GOT
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $1: expected '$2', got '$3'"
    fi
}

# The text bands of the two copies (left, top, right, bottom, inclusive).
bands=('15,95 184,106' '15,215 184,226')
# IMAGE's pixels as 8-bit grey, white where the bands are, transparency on white.
without_bands() {
    convert "$1" -background white -flatten -crop 525x276+0+0 +repage -fill white \
        -draw "rectangle ${bands[0]}" -draw "rectangle ${bands[1]}" -colorspace gray "$2"
}
# The box of the dark pixels of IMAGE inside band N, as WxH+X+Y.
ink() {
    convert "$1" -background white -flatten -crop "170x12+15+$((95 + 120 * $2))" +repage \
        -colorspace gray -threshold 50% -format %@ info: 2>/dev/null
}

# TYPE DATA READ OPTIONS...: every format of one code image, read back.
row=0
formats() {
    local type=$1 data=$2 read=$3
    shift 3
    local dpi=96 base=row$((row += 1))
    [[ " $* " != *' --dpi '* ]] || dpi=$(sed 's/.*--dpi \([0-9]*\).*/\1/' <<<"$*")
    for format in bmp png jpg svg; do
        "$cli" --type "$type" --data "$data" "$@" --output "$base.$format"
    done
    rsvg-convert --dpi-x "$dpi" --dpi-y "$dpi" "$base.svg" -o "$base.svg.png" 2>/dev/null
    for file in "$base.png" "$base.jpg" "$base.svg.png"; do
        check "zbarimg on $file ($type $data $*)" "$read" \
            "$(zbarimg --nodbus -q --raw "$file" 2>/dev/null | sort -u)"
    done
    if [[ " $* " != *' --scale '* ]]; then
        without_bands "$base.bmp" "$base.bmp.gray.png"
        without_bands "$base.svg.png" "$base.svg.gray.png"
        check "SVG against BMP outside the bands ($type $data $*)" 0 \
            "$(compare -metric AE "$base.bmp.gray.png" "$base.svg.gray.png" null: 2>&1 || true)"
        for band in 0 1; do
            read -r -a want <<<"$(ink "$base.bmp" "$band" | tr 'x+' '  ')"
            read -r -a got <<<"$(ink "$base.svg.png" "$band" | tr 'x+' '  ')"
            for i in 0 1 2 3; do
                local off=$((got[i] - want[i]))
                check "SVG text ink of band $band ($type $data $*) within a pixel" 1 \
                    "$((off >= -1 && off <= 1))"
            done
        done
    fi
}

formats 'Code EAN13' 590123412345 5901234123457
formats 'Code 128B' 'Hello, world' 'Hello, world' --single
formats 'Code 39' CODE-39 CODE-39P --scale 2 --dpi 300
formats 'Code 93' 'QUILL MARK' 'QUILL MARK' --no-text --scale 3 --dpi 600

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
