#!/usr/bin/env bash
# The symbol for print, as a user scans it from every format it is printed from: quillmark-cli
# --symbol writes a short and a long datum of every symbology that zbarimg and ZXingReader know,
# at an X-dimension of 0.25 mm in 300 dpi and of 0.33 mm in 600 dpi, as PNG, as SVG rendered by
# rsvg-convert and as PDF rendered by pdftoppm, both at that resolution. Each rendering is read as
# it is and inside a black frame drawn right at the outer edge of the quiet zones, where a label's
# box or a cut edge meets the symbol: the quiet zones alone must keep the frame out of the code.
# Both readers must read exactly the data the symbol carries (ReaderFormats.sh: as each reports
# it, with the check characters and leading zeros the symbology adds).
# Two renderings are made at a time; then each reader runs once per symbology over all its files
# with only that symbology enabled, two readers at a time.
#
#   SymbolReaders.sh PATH/TO/quillmark-cli
set -euo pipefail

cli=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
for tool in zbarimg ZXingReader rsvg-convert pdftoppm convert; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed; scripts/bootstrap installs it" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

code39='0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%' codabar='0123456789-$:/.+'
ascii=$(printf %b "$(printf '\\0%03o' {32..126})") # space to ~
upper=${ascii:33:31}${ascii:0:33} # Code 128A's set: A to _, then space to @
cycle() { # CHARACTERS LENGTH: CHARACTERS repeated to LENGTH characters
    local out=''
    while [ ${#out} -lt "$2" ]; do out+=$1; done
    printf '%s' "${out:0:$2}"
}
# The cases: TYPE DATA.
types=() datas=()
symbol() { # TYPE DATA
    types+=("$1") datas+=("$2")
}
symbol 'Code EAN13' 590123412345
symbol 'Code EAN13' 978020137962
symbol 'Code EAN8' 9638507
symbol 'Code EAN8' 5512345
symbol 'Code EAN13' 9780201379624+51299
symbol 'Code EAN8' 9638507+12
symbol 'Code UPC-A' 01234567890
symbol 'Code UPC-A' 036000291452+12
symbol 'Code UPC-E' 0123456
symbol 'Code UPC-E' 0425261+52495
for type in 'Code 39' 'Code 93'; do
    symbol "$type" "CODE-39 \$5.00/+10%"
    symbol "$type" "$(cycle "$code39" 80)"
done
for type in 'Code 39 Extended' 'Code 93 Extended' 'Code 128B'; do
    symbol "$type" "Quill & Mark: a+b=c? (\"\$5\" & 10%*)"
    symbol "$type" "${ascii:15:80}" # / to ~
done
symbol 'Code 128A' 'PO#2026-04 [A_B]^'
symbol 'Code 128A' "$(cycle "$upper" 80)"
for type in 'Code 128C' 'Code 2 5 interleaved'; do
    symbol "$type" 12345
    symbol "$type" "$(cycle 9876543210 80)"
done
symbol 'Code 128' 'PO-2024-000123456'
symbol 'Code 128' "$(cycle 'Lot 2026-1234567890/ab ' 80)"
symbol GS1-128 '(01)09501101530003(17)251231(10)AB-123'
symbol GS1-128 '(00)106141411234567897(21)ABCDEFGHIJ(37)12345678'
symbol 'Code ITF-14' 1540014128876
symbol 'Code ITF-14' 15400141288763
symbol 'Code Codabar' A40156B
symbol 'Code Codabar' "C$(cycle "$codabar" 78)D"

sizes=('0.25 300' '0.33 600') # X-dimension in mm, resolution in dpi
renderings=(.png .svg.png .pdf.png) # the PNG as written, the SVG and the PDF rendered

# BASE TYPE DATA X-DIMENSION DPI: writes the symbol as BASE.png, .svg and .pdf, renders the SVG
# as BASE.svg.png and the PDF as BASE.pdf.png, and frames each BASE.X.png as BASE.X.framed.png.
# Prints a FAIL line for what went wrong.
render() {
    local base=$1 type=$2 data=$3 x=$4 dpi=$5 format image frame=$(($5 / 150)) # 4 pixels at 600 dpi
    for format in png svg pdf; do
        # A warning, such as an X-dimension the raster cannot draw, is a failure here too.
        "$cli" --symbol --type "$type" --data "$data" --x-dim "$x" --dpi "$dpi" \
            --output "$base.$format" > /dev/null 2> "$base.err" && [ ! -s "$base.err" ] ||
            echo "FAIL quillmark-cli --symbol --type '$type' --data '$data' --x-dim $x --dpi $dpi" \
                "--output $base.$format: $(head -c 300 "$base.err")"
    done
    rsvg-convert --dpi-x "$dpi" --dpi-y "$dpi" "$base.svg" -o "$base.svg.png" 2> "$base.err" ||
        echo "FAIL rsvg-convert on $base.svg ($type): $(head -c 300 "$base.err")"
    pdftoppm -r "$dpi" -gray -png -singlefile "$base.pdf" "$base.pdf" 2> "$base.err" ||
        echo "FAIL pdftoppm on $base.pdf ($type): $(head -c 300 "$base.err")"
    for image in "${@:6}"; do
        image=$base$image
        # White around the frame, as around a label on a sheet.
        convert "$image" -bordercolor black -border $frame -bordercolor white -border $((frame * 5)) \
            "${image%.png}.framed.png" 2> "$base.err" || echo "FAIL convert on $image: $(head -c 300 "$base.err")"
    done
}
# reader_args TYPE: the ZXingReader format, then the zbarimg options. zbarimg keeps its minimum
# lengths, 6 digits of interleaved 2 of 5 and 4 characters of Codabar, as a user's does: with less
# it reads "71" of interleaved 2 of 5 in the strokes of the human-readable digits of the PDF's
# rendering.
# shellcheck source=tests/readers/ReaderFormats.sh
source "$here/ReaderFormats.sh"
# READER TYPE: reads the files listed in TYPE.files with only TYPE's symbology enabled into
# READER.TYPE.out; prints a FAIL line when the reader fails.
read_all() {
    local reader=$1 type=$2 files zxing_format zbar_options status=0
    mapfile -t files < "$type.files"
    read -r zxing_format zbar_options <<< "$(reader_args "$type")"
    if [ "$reader" = zbarimg ]; then
        # shellcheck disable=SC2086 # the configuration words
        zbarimg --nodbus --xml -q -Sdisable $zbar_options "${files[@]}" > "$reader.$type.out" \
            2> "$reader.$type.err" || status=$?
        # 4: some image held no symbol, which the comparison reports
        [ "$status" -eq 0 ] || [ "$status" -eq 4 ] ||
            echo "FAIL zbarimg on $type exits $status: $(head -c 300 "$reader.$type.err")"
    else
        # -noscale: ZXingReader 1.4.0 aborts on some large images, failing the assertion
        # "lineCount() == 1" in Result::operator== when it merges what it read in the copies
        # it scales down; print is read at its size anyway.
        ZXingReader -1 -noscale -format "$zxing_format" "${files[@]}" > "$reader.$type.out" \
            2> "$reader.$type.err" ||
            echo "FAIL ZXingReader on $type exits $?: $(head -c 300 "$reader.$type.err")"
        # What it misses at full size it is given once more with its scaled-down copies, as it
        # looks by default: it finds ITF-14's bearer frame in pdftoppm's rendering only so.
        mapfile -t files < <(sed -n 's/ None$//p' "$reader.$type.out")
        [ ${#files[@]} -eq 0 ] || ZXingReader -1 -format "$zxing_format" "${files[@]}" \
            >> "$reader.$type.out" 2> "$reader.$type.err" ||
            echo "FAIL ZXingReader on $type exits $?: $(head -c 300 "$reader.$type.err")"
    fi
}
export cli
export -f render reader_args read_all
export MAGICK_THREAD_LIMIT=1 # convert runs two at a time already

# Writing and rendering, two at a time: every case at every size.
for c in "${!types[@]}"; do
    for s in "${!sizes[@]}"; do
        read -r x dpi <<< "${sizes[s]}"
        printf '%s\0' "c${c}s$s" "${types[c]}" "${datas[c]}" "$x" "$dpi" "${renderings[@]}"
        for rendering in "${renderings[@]}"; do
            printf 'c%ds%d%s\nc%ds%d%s\n' "$c" "$s" "$rendering" "$c" "$s" "${rendering%.png}.framed.png" \
                >> "${types[c]}.files"
        done
    done
done | xargs -0 -n $((5 + ${#renderings[@]})) -P 2 bash -c 'render "$@"' render > render.log

# Reading, two readers at a time: each reader once per symbology over all its files.
mapfile -t symbologies < <(printf '%s\n' "${types[@]}" | uniq)
for type in "${symbologies[@]}"; do
    printf '%s\0' zbarimg "$type" ZXingReader "$type"
done | xargs -0 -n 2 -P 2 bash -c 'read_all "$@"' read_all >> render.log

failed=0 passed=0
fail() { # MESSAGE
    failed=$((failed + 1))
    echo "FAIL $1"
}
while IFS= read -r line; do fail "${line#FAIL }"; done < render.log

# "reader file" -> the texts the reader read in the file, each followed by a line feed.
declare -A decoded=()
for type in "${symbologies[@]}"; do
    zbar_decoded "zbarimg.$type.out"
    while IFS= read -r line; do # FILE None, or FILE FORMAT "TEXT"
        text=${line#* * \"}
        [ "${line#* }" = None ] || decoded[ZXingReader ${line%% *}]+=${text%\"}$'\n'
    done < "ZXingReader.$type.out"
done

for c in "${!types[@]}"; do
    for s in "${!sizes[@]}"; do
        for rendering in "${renderings[@]}"; do
            for file in "c${c}s$s$rendering" "c${c}s$s${rendering%.png}.framed.png"; do
                for reader in zbarimg ZXingReader; do
                    expect=$(must_carry "${types[c]}" "${datas[c]}")
                    got=$(while IFS= read -r text; do
                        carried $reader "${types[c]}" "$text"
                        echo
                    done <<< "$(addon_joined "${types[c]}" "${decoded[$reader $file]-}")" |
                        { grep -v '^$' || true; } | LC_ALL=C sort -u)
                    what="$reader on $file (${types[c]} \"${datas[c]}\" at ${sizes[s]% *} mm, ${sizes[s]#* } dpi)"
                    if [ "$got" = "$expect" ]; then
                        passed=$((passed + 1))
                    else
                        fail "$what: expected \"$expect\", got \"$got\""
                    fi
                done
            done
        done
    done
done
echo "symbols: ${#types[@]} data at ${#sizes[@]} sizes in ${#renderings[@]} renderings, framed and" \
    "not; $passed readings passed, $failed failed"
[ "$failed" -eq 0 ]
