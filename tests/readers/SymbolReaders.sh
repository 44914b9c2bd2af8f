#!/usr/bin/env bash
# The symbol for print, as a user scans it from every format it is printed from: quillmark-cli
# --symbol writes a short and a long datum of every symbology that zbarimg and ZXingReader know,
# at an X-dimension of 0.25 mm in 300 dpi and of 0.33 mm in 600 dpi, as PNG, as SVG rendered by
# rsvg-convert and as PDF rendered by pdftoppm, both at that resolution. Each rendering is read as
# it is and inside a black frame drawn right at the outer edge of the quiet zones, where a label's
# box or a cut edge meets the symbol: the quiet zones alone must keep the frame out of the code.
# Both readers must read exactly the text the symbol carries, as each reports it: EAN and Code 39
# with their check character, Code 39 Extended as raw Code 39 ("a" reads "+A"), Code 93 Extended
# decoded, Code 128 without its check, an odd count of digits of Code 128C and interleaved 2 of 5
# with the leading zero the symbology adds; zbarimg gives Codabar's start and stop, ZXingReader not.
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
ean() { # DIGITS: DIGITS with EAN's check digit
    local i sum=0 weight=3
    for ((i = ${#1} - 1; i >= 0; i--)); do
        sum=$((sum + weight * ${1:i:1})) weight=$((4 - weight))
    done
    printf '%s%s' "$1" $(((10 - sum % 10) % 10))
}
mod43() { # CODE39: CODE39 with its modulo 43 check character
    local i sum=0 value
    for ((i = 0; i < ${#1}; i++)); do
        value=${code39%%"${1:i:1}"*}
        sum=$((sum + ${#value}))
    done
    printf '%s%s' "$1" "${code39:sum % 43:1}"
}
# Code 39's full ASCII: the character or pair of characters that stands for each of space to ~.
pairs=(' ' /{A..L} - . /O {0..9} /Z %{F..J} %V {A..Z} %{K..O} %W +{A..Z} %{P..S})
full_ascii() { # TEXT: TEXT in Code 39's full ASCII
    local i code out=''
    for ((i = 0; i < ${#1}; i++)); do
        printf -v code %d "'${1:i:1}"
        out+=${pairs[code - 32]}
    done
    printf '%s' "$out"
}

# The cases: TYPE DATA, then the text zbarimg reads and, where it differs, the one ZXingReader reads.
types=() datas=() zbar_texts=() zxing_texts=()
symbol() { # TYPE DATA ZBARIMG_TEXT [ZXINGREADER_TEXT]
    types+=("$1") datas+=("$2") zbar_texts+=("$3") zxing_texts+=("${4-$3}")
}
for digits in 590123412345 978020137962; do symbol 'Code EAN13' $digits "$(ean $digits)"; done
for digits in 9638507 5512345; do symbol 'Code EAN8' $digits "$(ean $digits)"; done
for data in "CODE-39 \$5.00/+10%" "$(cycle "$code39" 80)"; do
    symbol 'Code 39' "$data" "$(mod43 "$data")"
done
for data in 'Quill & Mark: a+b=c?' "${ascii:15:80}"; do # / to ~
    symbol 'Code 39 Extended' "$data" "$(mod43 "$(full_ascii "$data")")"
done
for data in "CODE-93 \$5.00/+10%" "$(cycle "$code39" 80)"; do symbol 'Code 93' "$data" "$data"; done
for data in 'Quill & Mark: a+b=c?' "${ascii:15:80}"; do symbol 'Code 93 Extended' "$data" "$data"; done
for data in 'PO#2026-04 [A_B]^' "$(cycle "$upper" 80)"; do symbol 'Code 128A' "$data" "$data"; done
for data in "Hello, world! (\"\$5\" & 10%*)" "${ascii:15:80}"; do symbol 'Code 128B' "$data" "$data"; done
symbol 'Code 128C' 12345 012345
symbol 'Code 128C' "$(cycle 9876543210 80)" "$(cycle 9876543210 80)"
symbol 'Code 2 5 interleaved' 12345 012345
symbol 'Code 2 5 interleaved' "$(cycle 1234567890 80)" "$(cycle 1234567890 80)"
symbol 'Code Codabar' A40156B A40156B 40156
data=$(cycle "$codabar" 78)
symbol 'Code Codabar' "C${data}D" "C${data}D" "$data"

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
    while IFS= read -r line; do
        case $line in
        "<source href='"*) file=${line#"<source href='"} file=${file%"'>"} ;;
        *'<data><![CDATA['*) text=${line#*'<data><![CDATA['} && decoded[zbarimg $file]+=${text%']]></data>'*}$'\n' ;;
        *'<data '*) decoded[zbarimg $file]+="(not text: $line)"$'\n' ;;
        esac
    done < "zbarimg.$type.out"
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
                    expect=${zbar_texts[c]}
                    [ $reader = zbarimg ] || expect=${zxing_texts[c]}
                    got=$(printf '%s' "${decoded[$reader $file]-}" | LC_ALL=C sort -u)
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
