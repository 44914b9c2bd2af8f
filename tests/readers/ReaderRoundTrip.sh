#!/usr/bin/env bash
# Reader round trip: quillmark-cli writes code images, two independent barcode readers decode
# them, and each decoded text must equal, character for character, what the symbol carries.
#
#   ReaderRoundTrip.sh PATH/TO/quillmark-cli
#
# Readers (Debian zbar-tools and zxing-cpp-tools, installed by scripts/bootstrap):
#   zbarimg      --xml output, one call per symbology with only that symbology enabled
#                (-Sdisable -S<name>.enable), so no other decoder can report a false reading.
#   ZXingReader  -1 output (file, format, "text" per line), one call per symbology with -format.
#
# What each reader reports, as observed from the readers themselves:
#   EAN-13, EAN-8   both: all digits including the check digit. ZXingReader is given only the
#                   EAN-13 format, so a leading 0 is still reported as 13 digits (not as UPC-A).
#   Code 39         both: the characters as encoded, with the mod 43 check character appended
#                   (neither reader checks or strips it).
#   Code 39 Ext.    both: the raw Code 39 characters ("a" reads "+A"), check character appended;
#                   neither reader decodes full ASCII here (zbarimg has no working option for it,
#                   the ZXingReader command line does not switch it on).
#   Code 93 (+Ext.) both: the data only, without C and K; both decode the full-ASCII shift
#                   pairs, so Code 93 Extended reads back as the original text.
#   Code 128 A/B/C  both: the data only, without the mod 103 check character.
#   2 of 5 interl.  both: the digits (the symbology has no check digit here). ZXingReader reads
#                   only 6 digits or more, so shorter rows are zbarimg's alone; zbarimg is given
#                   -Si25.min-length=2 for them (its default minimum is 6).
#   Codabar         zbarimg: with the start/stop characters, "A...B"; ZXingReader: without them.
# Not in the round trip: 2 of 5 industrial, 2 of 5 matrix, MSI and PostNet: neither reader
# supports them (ZXingReader has none of the four; zbarimg has none of them either).
#
# Every image is read whole; each copy of a Dual Code image is also read alone (the other copy's
# rows painted white in a copy of the file), because both readers report the two identical
# copies of one image as a single result (zbarimg merges them into one symbol of twice the
# quality, ZXingReader into one position spanning both). For --single images the lower half
# must read as nothing. The readers accept the 5 white columns left of the symbol as quiet zone,
# so the images are read exactly as written, without padding. The widest symbol of the table,
# Code 93 Extended "Hello, World?", is 488 pixels wide and ends 32 pixels before the right edge.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PATH/TO/quillmark-cli" >&2
    exit 2
fi
cli=$1
for tool in zbarimg ZXingReader; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed; scripts/bootstrap installs it" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The table. One row per image:
#   row TYPE DATA ZBARIMG_TEXT ZXINGREADER_TEXT [CLI OPTION]...
# A reader text of n/a means that reader is not asked about the row.
NA=n/a
types=() datas=() zbar_texts=() zxing_texts=() row_options=()
row() {
    types+=("$1")
    datas+=("$2")
    zbar_texts+=("$3")
    zxing_texts+=("$4")
    shift 4
    row_options+=("$*")
}

# EAN-13: with the check digit on, the data is cut to its last 12 digits or zero-padded on the
# left to 12, then the mod 10 check digit (weights 3,1,3,... from the right) is appended.
row 'Code EAN13' '1234567890123' '2345678901234' '2345678901234' # 234567890123 + check 4
row 'Code EAN13' '400638133393'  '4006381333931' '4006381333931' # check 1
row 'Code EAN13' '123'           '0000000001236' '0000000001236' # 000000000123 + check 6
row 'Code EAN13' '9780306406157' '7803064061573' '7803064061573' # 780306406157 + check 3
row 'Code EAN13' '590123412345'  '5901234123457' '5901234123457' # check 7
row 'Code EAN13' '5901234123457' '5901234123457' '5901234123457' --no-checksum # as given
# EAN-8: cut to the last 7 digits or zero-padded to 7, then the mod 10 check digit.
row 'Code EAN8' '1234567'  '12345670' '12345670' # check 0
row 'Code EAN8' '12345678' '23456785' '23456785' # 2345678 + check 5
row 'Code EAN8' '42'       '00000420' '00000420' # 0000042 + check 0
row 'Code EAN8' '9638507'  '96385074' '96385074' # check 4
# Code 39: values 0-9 = 0..9, A-Z = 10..35, - 36, . 37, space 38, $ 39, / 40, + 41, % 42;
# check character = sum mod 43.
row 'Code 39' '1234567890123' '12345678901238'  '12345678901238'  # sum 51, 51 mod 43 = 8 "8"
row 'Code 39' 'CODE-39'       'CODE-39P'        'CODE-39P'        # sum 111, mod 43 = 25 "P"
row 'Code 39' '-. $/+%'       '-. $/+%F'        '-. $/+%F'        # sum 273, mod 43 = 15 "F"
row 'Code 39' 'A1'            'A1B'             'A1B'             # sum 11 "B"
row 'Code 39' '%%'            '%%+'             '%%+'             # sum 84, mod 43 = 41 "+"
row 'Code 39' 'QUILLMARK 2.0' 'QUILLMARK 2.0E'  'QUILLMARK 2.0E'  # sum 230, mod 43 = 15 "E"
row 'Code 39' 'CODE-39'       'CODE-39'         'CODE-39'         --no-checksum # no check char
# Code 39 Extended: full-ASCII pairs (a-z "+A".."+Z", "!" to "/" "/A".."/O", "@" "%V"), then
# the mod 43 check character over the pairs. The readers report the pairs (see above).
row 'Code 39 Extended' 'a'     '+A8'        '+A8'        # +A: 41+10 = 51, mod 43 = 8 "8"
row 'Code 39 Extended' 'Ab-1.' 'A+B/M1/NG'  'A+B/M1/NG'  # A +B /M 1 /N: 188, mod 43 = 16 "G"
row 'Code 39 Extended' 'HELLO' 'HELLOB'     'HELLOB'     # sum 97, mod 43 = 11 "B"
row 'Code 39 Extended' 'x@y!'  '+X%V+Y/AE'  '+X%V+Y/AE'  # +X %V +Y /A: 272, mod 43 = 14 "E"
row 'Code 39 Extended' 'Hi 7'  'H+I 7Z'     'H+I 7Z'     # H +I space 7: 121, mod 43 = 35 "Z"
# Code 93: C = sum of value x weight 1..20 from the right, mod 47; K = the same over the data
# and C with weights 1..15; values as Code 39, then ($) 43, (%) 44, (/) 45, (+) 46.
row 'Code 93' 'CODE 93'    'CODE 93'    'CODE 93'    # C 14 "E", K 0 "0"
row 'Code 93' 'TEST93'     'TEST93'     'TEST93'     # C 41 "+", K 6 "6"
row 'Code 93' 'A1'         'A1'         'A1'         # C 21 "L", K 6 "6"
row 'Code 93' '-. $/+%'    '-. $/+%'    '-. $/+%'    # C 30 "U", K 4 "4"
row 'Code 93' '1234567890' '1234567890' '1234567890' # C 22 "M", K 42 "%"
# Code 93 Extended: full-ASCII shift pairs (a-z (+)A..(+)Z, "!" to "/" (/)A..(/)O, ...), then C
# and K over the pairs. Both readers decode the pairs back to the original characters.
row 'Code 93 Extended' 'a'             'a'             'a'             # (+)A: C 8 "8", K 25 "P"
row 'Code 93 Extended' 'Code 93 ext!'  'Code 93 ext!'  'Code 93 ext!'  # C 21 "L", K 36 "-"
row 'Code 93 Extended' 'x@y!'          'x@y!'          'x@y!'          # C 41 "+", K 42 "%"
row 'Code 93 Extended' '[_]`{|}~'      '[_]`{|}~'      '[_]`{|}~'      # C 24 "O", K 20 "K"
row 'Code 93 Extended' 'Hello, World?' 'Hello, World?' 'Hello, World?' # C 33 "X", K 20 "K"
# Code 128: check = (start value + sum of value x position) mod 103; start A 103, B 104, C 105.
# Set A/B value = character code - 32. In set A, characters it lacks (lower case, control
# characters) are encoded as a space.
row 'Code 128A' 'CODE 128A'         'CODE 128A'         'CODE 128A'         # check 72
row 'Code 128A' 'HELLO_[]^@'        'HELLO_[]^@'        'HELLO_[]^@'        # check 33
row 'Code 128A' "!\"#\$%&'()*+,-./" "!\"#\$%&'()*+,-./" "!\"#\$%&'()*+,-./" # check 4
row 'Code 128A' '1234567890'        '1234567890'        '1234567890'        # check 32
row 'Code 128A' $'Ab\tC'            'A  C'              'A  C'              # b, tab -> space; check 70
row 'Code 128B' 'Code 128b!'        'Code 128b!'        'Code 128b!'        # check 50
row 'Code 128B' '{|}~`abc'          '{|}~`abc'          '{|}~`abc'          # check 64
row 'Code 128B' 'Hello, World!'     'Hello, World!'     'Hello, World!'     # check 76
row 'Code 128B' 'say "hi" <&>'      'say "hi" <&>'      'say "hi" <&>'      # check 96
# Set C: pairs of digits, value = the pair; a last unpaired digit is not encoded.
row 'Code 128C' '123456'     '123456'     '123456'     # 105+12+68+168 = 353, check 44
row 'Code 128C' '12345'      '1234'       '1234'       # "5" not encoded; check 82
row 'Code 128C' '1234567'    '123456'     '123456'     # "7" not encoded; check 44
row 'Code 128C' '00'         '00'         '00'         # 105 + 0, check 2
row 'Code 128C' '9876543210' '9876543210' '9876543210' # check 77
# 2 of 5 interleaved: digit pairs, no check digit; a last unpaired digit is not encoded.
row 'Code 2 5 interleaved' '123456'     '123456'     '123456'
row 'Code 2 5 interleaved' '1234567'    '123456'     '123456'     # "7" not encoded
row 'Code 2 5 interleaved' '1234567890' '1234567890' '1234567890'
row 'Code 2 5 interleaved' '000000'     '000000'     '000000'
row 'Code 2 5 interleaved' '12'         '12'         "$NA"        # shorter than ZXingReader reads
row 'Code 2 5 interleaved' '12345'      '1234'       "$NA"        # "5" not encoded
# Codabar: start "A", stop "B", no check character.
row 'Code Codabar' '123456'         'A123456B'         '123456'
row 'Code Codabar' '-$:/.+'         'A-$:/.+B'         '-$:/.+'
row 'Code Codabar' '1234567890'     'A1234567890B'     '1234567890'
row 'Code Codabar' '31117013206375' 'A31117013206375B' '31117013206375'
row 'Code Codabar' '12'             'A12B'             '12'
# --single and --no-text.
row 'Code EAN13' '1234567890123' '2345678901234' '2345678901234' --single
row 'Code EAN13' '1234567890123' '2345678901234' '2345678901234' --no-text
row 'Code EAN13' '1234567890123' '2345678901234' '2345678901234' --single --no-text
row 'Code 39'    'CODE-39'       'CODE-39P'      'CODE-39P'      --single
row 'Code 39'    'CODE-39'       'CODE-39P'      'CODE-39P'      --no-text --single
row 'Code 128B'  'Code 128b!'    'Code 128b!'    'Code 128b!'    --no-text
row 'Code 128B'  'Code 128b!'    'Code 128b!'    'Code 128b!'    --single

# How each reader is asked for a symbology.
zbar_config() {
    case $1 in
    'Code EAN13') echo '-Sean13.enable' ;;
    'Code EAN8') echo '-Sean8.enable' ;;
    'Code 39' | 'Code 39 Extended') echo '-Scode39.enable' ;;
    'Code 93' | 'Code 93 Extended') echo '-Scode93.enable' ;;
    'Code 128A' | 'Code 128B' | 'Code 128C') echo '-Scode128.enable' ;;
    'Code 2 5 interleaved') echo '-Si25.enable -Si25.min-length=2' ;;
    'Code Codabar') echo '-Scodabar.enable' ;;
    *) return 1 ;;
    esac
}
zxing_format() {
    case $1 in
    'Code EAN13') echo 'EAN-13' ;;
    'Code EAN8') echo 'EAN-8' ;;
    'Code 39' | 'Code 39 Extended') echo 'Code39' ;;
    'Code 93' | 'Code 93 Extended') echo 'Code93' ;;
    'Code 128A' | 'Code 128B' | 'Code 128C') echo 'Code128' ;;
    'Code 2 5 interleaved') echo 'ITF' ;;
    'Code Codabar') echo 'Codabar' ;;
    *) return 1 ;;
    esac
}

# The code image file: 525 x 276, 32 bits, bottom-up rows after a 54-byte header.
readonly width=525 height=276 header=54 file_size=579654
readonly stride=$((width * 4))
# Rows (from the top) of each copy's half: the copies sit at y 5 and y 125.
readonly top_half='0 119' bottom_half='120 275'

# White pixels (blue, green, red, 0) for the largest half.
printf '\377\377\377\000%.0s' $(seq $((156 * width))) >"$work/white"

# Paints rows FIRST..LAST (counted from the top) of the BMP FILE white.
paint_white() {
    local file=$1 first=$2 last=$3
    dd if="$work/white" of="$file" bs="$stride" count=$((last - first + 1)) \
        seek=$((header + (height - 1 - last) * stride)) oflag=seek_bytes conv=notrunc status=none
}

# Prints why FILE is not a bottom-up 525 x 276 32-bit BMP, or nothing.
layout_problem() {
    local size dims
    size=$(stat -c %s "$1")
    dims=$(od -An -t d4 -j 18 -N 8 "$1" | xargs)
    if [ "$size" -ne "$file_size" ] || [ "$dims" != "$width $height" ]; then
        echo "file of $size bytes, width and height $dims"
    fi
}

# Shows a text on one line: in double quotes, a tab as \t.
show() { printf '"%s"' "${1//$'\t'/\\t}"; }

# One check: a file, the reader that reads it, and the text it must report ("" for nothing).
check_row=() check_part=() check_file=() check_reader=() check_expect=()
add_check() {
    check_row+=("$1")
    check_part+=("$2")
    check_file+=("$3")
    check_reader+=("$4")
    check_expect+=("$5")
}

passed=0
failed=0
fail() {
    local r=$1
    failed=$((failed + 1))
    printf 'FAIL %s: type "%s" data %s %s%s\n' "$2" "${types[r]}" "$(show "${datas[r]}")" \
        "${row_options[r]:+(${row_options[r]}) }" "$3"
}

cd "$work"
for r in "${!types[@]}"; do
    image=$(printf 'row%02d.bmp' "$r")
    # shellcheck disable=SC2086 # the options are separate words
    if ! message=$("$cli" --type "${types[r]}" --data "${datas[r]}" ${row_options[r]} \
        --output "$image" 2>&1); then
        fail "$r" quillmark-cli "failed: $message"
        continue
    fi
    problem=$(layout_problem "$image")
    if [ -n "$problem" ]; then
        fail "$r" quillmark-cli "wrote an unexpected image: $problem"
        continue
    fi
    cp "$image" "top_$image"
    cp "$image" "bottom_$image"
    # shellcheck disable=SC2086 # two row numbers
    paint_white "top_$image" $bottom_half
    # shellcheck disable=SC2086
    paint_white "bottom_$image" $top_half
    for part in whole top bottom; do
        file=$image
        [ "$part" = whole ] || file=${part}_$image
        for reader in zbarimg ZXingReader; do
            if [ "$reader" = zbarimg ]; then expect=${zbar_texts[r]}; else expect=${zxing_texts[r]}; fi
            [ "$expect" != "$NA" ] || continue
            # A single image has nothing in its lower half.
            if [ "$part" = bottom ] && [[ " ${row_options[r]} " == *' --single '* ]]; then
                expect=''
            fi
            add_check "$r" "$part" "$file" "$reader" "$expect"
        done
    done
done

# Run each reader once per symbology over all its files; collect what it reports per file.
declare -A decoded=() # "reader file" -> the distinct texts reported, one per line
declare -A reader_error=() # "reader file" -> why the reader could not be run
remember() {
    local key="$1 $2" text=$3
    if [ -z "${decoded[$key]+set}" ]; then
        decoded[$key]=$text
    elif ! grep -qxF -- "$text" <<<"${decoded[$key]}"; then
        decoded[$key]+=$'\n'$text
    fi
}

declare -A groups=() # "reader|option words" -> file names
for c in "${!check_file[@]}"; do
    type=${types[${check_row[c]}]}
    if [ "${check_reader[c]}" = zbarimg ]; then
        key="zbarimg|$(zbar_config "$type")"
    else
        key="ZXingReader|$(zxing_format "$type")"
    fi
    case " ${groups[$key]:-} " in
    *" ${check_file[c]} "*) ;;
    *) groups[$key]+=" ${check_file[c]}" ;;
    esac
done

for key in "${!groups[@]}"; do
    reader=${key%%|*}
    options=${key#*|}
    read -r -a files <<<"${groups[$key]}"
    status=0
    if [ "$reader" = zbarimg ]; then
        # shellcheck disable=SC2086 # the configuration words
        zbarimg --nodbus --xml -q -Sdisable $options "${files[@]}" >out 2>err || status=$?
        # 4: some image held no symbol
        if [ "$status" -ne 0 ] && [ "$status" -ne 4 ]; then
            for f in "${files[@]}"; do reader_error["$reader $f"]="exit $status: $(head -c 300 err)"; done
            continue
        fi
        current=''
        while IFS= read -r line; do
            case $line in
            "<source href='"*)
                current=${line#"<source href='"}
                current=${current%"'>"}
                ;;
            *'<data><![CDATA['*)
                text=${line#*'<data><![CDATA['}
                remember "$reader" "$current" "${text%']]></data>'*}"
                ;;
            *'<data '*)
                remember "$reader" "$current" "(not text: $line)"
                ;;
            esac
        done <out
    else
        ZXingReader -1 -format "$options" "${files[@]}" >out 2>err || status=$?
        if [ "$status" -ne 0 ] || [ -s err ]; then
            for f in "${files[@]}"; do reader_error["$reader $f"]="exit $status: $(head -c 300 err)"; done
            continue
        fi
        # Each line: FILE None, or FILE FORMAT "TEXT".
        while IFS= read -r line; do
            f=${line%% *}
            rest=${line#* }
            [ "$rest" != None ] || continue
            text=${rest#* \"}
            remember "$reader" "$f" "${text%\"}"
        done <out
    fi
done

for c in "${!check_file[@]}"; do
    key="${check_reader[c]} ${check_file[c]}"
    expect=${check_expect[c]}
    case ${check_part[c]} in
    whole) where='whole image' ;;
    top) where='upper copy alone' ;;
    bottom) where='lower copy alone' ;;
    esac
    if [ -n "${reader_error[$key]+set}" ]; then
        fail "${check_row[c]}" "${check_reader[c]}" "$where: could not run: ${reader_error[$key]}"
        continue
    fi
    got=${decoded[$key]-}
    if [ "$got" = "$expect" ]; then
        passed=$((passed + 1))
        continue
    fi
    shown_expect='nothing'
    [ -z "$expect" ] || shown_expect=$(show "$expect")
    shown_got='nothing'
    if [ -n "${decoded[$key]+set}" ]; then
        shown_got=''
        while IFS= read -r text; do shown_got+="${shown_got:+ and }$(show "$text")"; done <<<"$got"
    fi
    fail "${check_row[c]}" "${check_reader[c]}" "$where: expected $shown_expect, got $shown_got"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
