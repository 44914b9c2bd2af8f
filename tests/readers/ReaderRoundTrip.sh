#!/usr/bin/env bash
# Reader round trip: quillmark-cli writes code images, two independent barcode readers decode
# them, and each decoded text must equal, character for character, what the symbol carries.
#
#   ReaderRoundTrip.sh PATH/TO/quillmark-cli
#
# Readers (Debian zbar-tools and zxing-cpp-tools, installed by scripts/bootstrap), each run once
# per symbology over all its files with only that symbology enabled, so no other decoder can
# report a false reading: zbarimg --xml -Sdisable -S<name>.enable, ZXingReader -1 -format.
#
# What each reader reports, as observed from the readers themselves:
#   EAN-13, EAN-8   both: all digits including the check digit. ZXingReader is given only the
#                   EAN-13 format, so a leading 0 is still reported as 13 digits (not as UPC-A).
#   Code 39 (+Ext.) both: the raw Code 39 characters ("a" reads "+A"), with the mod 43 check
#                   character appended; neither checks or strips it, neither decodes full ASCII
#                   (zbarimg has no working option, the ZXingReader command line no switch).
#   Code 93 (+Ext.) both: the data only, without C and K; both decode the full-ASCII shift
#                   pairs, so Code 93 Extended reads back as the original text.
#   Code 128 A/B/C  both: the data only, without the mod 103 check character.
#   2 of 5 interl.  both: the digits (no check digit here). ZXingReader reads only 6 digits or
#                   more, so it is not asked about shorter ones; zbarimg is given
#                   -Si25.min-length=2 for them (its default minimum is 6).
#   Codabar         zbarimg: with the start/stop characters, "A...B"; ZXingReader: without them.
# Not in the round trip: 2 of 5 industrial and matrix, MSI and PostNet: neither reader has them.
#
# Every image is read whole; each copy of a Dual Code image is also read alone (the other copy's
# rows painted white in a copy of the file), because both readers report the two identical
# copies of one image as a single result (zbarimg merges them into one symbol of twice the
# quality, ZXingReader into one position spanning both). For --single images the lower half
# must read as nothing. The readers accept the 5 white columns left of the symbol as quiet zone,
# so the images are read as written. The widest symbol of the table, Code 93 Extended "Hello,
# World?", is 488 pixels wide and ends 32 pixels before the right edge.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PATH/TO/quillmark-cli" >&2
    exit 2
fi
cli=$(realpath "$1")
for tool in zbarimg ZXingReader; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed; scripts/bootstrap installs it" >&2
        exit 1
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The table: `cases TYPE DATA TEXT...` adds one image per DATA, TEXT being what zbarimg reads
# ("=" for DATA itself); `options 'OPTION...' TYPE DATA TEXT...` adds them with quillmark-cli
# options.
types=() datas=() texts=() row_options=()
options() {
    local opts=$1 type=$2
    shift 2
    while [ $# -gt 0 ]; do
        types+=("$type") datas+=("$1") row_options+=("$opts")
        if [ "$2" = '=' ]; then texts+=("$1"); else texts+=("$2"); fi
        shift 2
    done
}
cases() { options '' "$@"; }

# EAN-13: with the check digit on, the data is cut to its last 12 digits or zero-padded on the
# left to 12, then the mod 10 check digit (weights 3,1,3,... from the right) is appended.
cases 'Code EAN13' 1234567890123 2345678901234 400638133393 4006381333931 # checks 4, 1
cases 'Code EAN13' 123 0000000001236 9780306406157 7803064061573          # checks 6, 3
cases 'Code EAN13' 590123412345 5901234123457                             # check 7
options --no-checksum 'Code EAN13' 5901234123457 = # as given
# EAN-8: cut to the last 7 digits or zero-padded to 7, then the mod 10 check digit.
cases 'Code EAN8' 1234567 12345670 12345678 23456785 42 00000420 9638507 96385074 # 0, 5, 0, 4
# Code 39: values 0-9 = 0..9, A-Z = 10..35, - 36, . 37, space 38, $ 39, / 40, + 41, % 42;
# check character = sum mod 43.
cases 'Code 39' 1234567890123 12345678901238 CODE-39 CODE-39P # sums 51 -> "8", 111 -> "P"
cases 'Code 39' '-. $/+%' '-. $/+%F' A1 A1B %% %%+            # 273 -> "F", 11 "B", 84 -> "+"
cases 'Code 39' 'QUILLMARK 2.0' 'QUILLMARK 2.0E'              # 230 -> "E"
options --no-checksum 'Code 39' CODE-39 =
# Code 39 Extended: full-ASCII pairs (a-z "+A".."+Z", "!" to "/" "/A".."/O", "@" "%V"), then
# the mod 43 check character over the pairs, which the readers report.
cases 'Code 39 Extended' a +A8 Ab-1. A+B/M1/NG HELLO HELLOB # 51 -> "8", 188 -> "G", 97 -> "B"
cases 'Code 39 Extended' 'x@y!' '+X%V+Y/AE' 'Hi 7' 'H+I 7Z' # 272 -> "E", 121 -> "Z"
# Code 93: C = sum of value x weight 1..20 from the right, mod 47; K = the same over the data
# and C with weights 1..15; values as Code 39, then ($) 43, (%) 44, (/) 45, (+) 46. C and K:
# "E" "0", "+" "6", "L" "6", "U" "4", "M" "%".
cases 'Code 93' 'CODE 93' = TEST93 = A1 = '-. $/+%' = 1234567890 =
# Code 93 Extended: full-ASCII shift pairs (a-z (+)A..(+)Z, "!" to "/" (/)A..(/)O, ...), then C
# and K over the pairs: "8" "P", "L" "-", "+" "%", "O" "K", "X" "K".
cases 'Code 93 Extended' a = 'Code 93 ext!' = 'x@y!' = '[_]`{|}~' = 'Hello, World?' =
# Code 128: check = (start value + sum of value x position) mod 103; start A 103, B 104, C 105.
# Set A/B value = character code - 32. In set A, characters it lacks (lower case, control
# characters) are encoded as a space. Checks 72, 33, 4, 32, 70; 50, 64, 76, 96.
cases 'Code 128A' 'CODE 128A' = 'HELLO_[]^@' = "!\"#\$%&'()*+,-./" = 1234567890 = $'Ab\tC' 'A  C'
cases 'Code 128B' 'Code 128b!' = '{|}~`abc' = 'Hello, World!' = 'say "hi" <&>' =
# Set C: pairs of digits, value = the pair; a last unpaired digit is not encoded. Checks 44 (105
# + 12 + 68 + 168 = 353), 82, 44, 2, 77.
cases 'Code 128C' 123456 = 12345 1234 1234567 123456 00 = 9876543210 =
# 2 of 5 interleaved: digit pairs, no check digit; a last unpaired digit is not encoded.
cases 'Code 2 5 interleaved' 123456 = 1234567 123456 1234567890 = 000000 = 12 = 12345 1234
# Codabar: start "A", stop "B", no check character.
cases 'Code Codabar' 123456 A123456B '-$:/.+' 'A-$:/.+B' 1234567890 A1234567890B 12 A12B
cases 'Code Codabar' 31117013206375 A31117013206375B
# --single and --no-text.
for opts in --single --no-text '--single --no-text'; do
    options "$opts" 'Code EAN13' 1234567890123 2345678901234
done
options --single 'Code 39' CODE-39 CODE-39P
options '--no-text --single' 'Code 39' CODE-39 CODE-39P
options --no-text 'Code 128B' 'Code 128b!' =
options --single 'Code 128B' 'Code 128b!' =

# How each reader is asked for a symbology: the ZXingReader format, then the zbarimg options.
reader_args() {
    case $1 in
    'Code EAN13') echo 'EAN-13 -Sean13.enable' ;;
    'Code EAN8') echo 'EAN-8 -Sean8.enable' ;;
    'Code 39' | 'Code 39 Extended') echo 'Code39 -Scode39.enable' ;;
    'Code 93' | 'Code 93 Extended') echo 'Code93 -Scode93.enable' ;;
    'Code 128'?) echo 'Code128 -Scode128.enable' ;;
    'Code 2 5 interleaved') echo 'ITF -Si25.enable -Si25.min-length=2' ;;
    'Code Codabar') echo 'Codabar -Scodabar.enable' ;;
    esac
}
# What ZXingReader must read where zbarimg reads TEXT, or n/a when it is not asked.
zxing_text() {
    case $1 in
    'Code Codabar') echo "${2:1:${#2}-2}" ;;
    'Code 2 5 interleaved') if [ ${#2} -ge 6 ]; then echo "$2"; else echo n/a; fi ;;
    *) echo "$2" ;;
    esac
}

# The code image file: 525 x 276, 32 bits, bottom-up rows after a 54-byte header; the copies sit
# at y 5 and y 125, so rows 0 to 119 hold the upper one and rows 120 to 275 the lower one.
readonly width=525 height=276 header=54 file_size=579654 stride=$((525 * 4))
printf '\377\377\377\000%.0s' $(seq $((156 * width))) >"$work/white"
# Paints rows FIRST..LAST (counted from the top) of the BMP FILE white.
paint_white() {
    dd if="$work/white" of="$1" bs="$stride" count=$(($3 - $2 + 1)) \
        seek=$((header + (height - 1 - $3) * stride)) oflag=seek_bytes conv=notrunc status=none
}

# TEXTS, one per line, each in double quotes with a tab as \t, joined by "and"; or nothing.
quoted() {
    local text shown=''
    if [ -z "$1" ]; then
        echo nothing
        return
    fi
    while IFS= read -r text; do shown+="${shown:+ and }\"${text//$'\t'/\\t}\""; done <<<"$1"
    echo "$shown"
}
passed=0 failed=0
fail() { # ROW WHO WHAT
    failed=$((failed + 1))
    printf 'FAIL %s: type "%s" data %s %s%s\n' "$2" "${types[$1]}" "$(quoted "${datas[$1]}")" \
        "${row_options[$1]:+(${row_options[$1]}) }" "$3"
}

cd "$work"
declare -A files=() # type -> the image files written for it
written=()
for r in "${!types[@]}"; do
    image=$(printf 'row%02d.bmp' "$r")
    # shellcheck disable=SC2086 # the options are separate words
    if ! message=$("$cli" --type "${types[r]}" --data "${datas[r]}" ${row_options[r]} \
        --output "$image" 2>&1); then
        fail "$r" quillmark-cli "failed: $message"
        continue
    fi
    layout="$(stat -c %s "$image") $(od -An -t d4 -j 18 -N 8 "$image" | xargs)"
    if [ "$layout" != "$file_size $width $height" ]; then
        fail "$r" quillmark-cli "wrote an unexpected image: bytes, width and height $layout"
        continue
    fi
    cp "$image" "upper_$image"
    cp "$image" "lower_$image"
    paint_white "upper_$image" 120 275
    paint_white "lower_$image" 0 119
    files[${types[r]}]+=" $image upper_$image lower_$image"
    written[r]=$image
done

# Each reader once per symbology over all its files: "reader file" -> the distinct texts read,
# one per line, or why the reader could not be run.
declare -A decoded=() reader_error=()
# The reader could not be run over the batch: READER STATUS, its messages in err.
broken() {
    for f in "${batch[@]}"; do reader_error[$1 $f]="exit $2: $(head -c 300 err)"; done
}
remember() { # READER FILE TEXT
    if [ -z "${decoded[$1 $2]+set}" ]; then
        decoded[$1 $2]=$3
    elif ! grep -qxF -- "$3" <<<"${decoded[$1 $2]}"; then
        decoded[$1 $2]+=$'\n'$3
    fi
}
for type in "${!files[@]}"; do
    read -r -a batch <<<"${files[$type]}"
    read -r zxing_format zbar_options <<<"$(reader_args "$type")"
    status=0
    # shellcheck disable=SC2086 # the configuration words
    zbarimg --nodbus --xml -q -Sdisable $zbar_options "${batch[@]}" >out 2>err || status=$?
    if [ "$status" -ne 0 ] && [ "$status" -ne 4 ]; then # 4: some image held no symbol
        broken zbarimg "$status"
    fi
    while IFS= read -r line; do
        case $line in
        "<source href='"*) file=${line#"<source href='"} file=${file%"'>"} ;;
        *'<data><![CDATA['*)
            text=${line#*'<data><![CDATA['}
            remember zbarimg "$file" "${text%']]></data>'*}"
            ;;
        *'<data '*) remember zbarimg "$file" "(not text: $line)" ;;
        esac
    done <out
    status=0
    ZXingReader -1 -format "$zxing_format" "${batch[@]}" >out 2>err || status=$?
    if [ "$status" -ne 0 ] || [ -s err ]; then
        broken ZXingReader "$status"
    fi
    while IFS= read -r line; do # FILE None, or FILE FORMAT "TEXT"
        text=${line#* * \"}
        [ "${line#* }" = None ] || remember ZXingReader "${line%% *}" "${text%\"}"
    done <out
done

for r in "${!written[@]}"; do
    for part in whole upper lower; do
        file=${part}_${written[r]} where="$part copy alone"
        [ "$part" != whole ] || file=${written[r]} where='whole image'
        for reader in zbarimg ZXingReader; do
            expect=${texts[r]}
            [ "$reader" = zbarimg ] || expect=$(zxing_text "${types[r]}" "$expect")
            [ "$expect" != n/a ] || continue
            # A single image has nothing in its lower half.
            if [ "$part" = lower ] && [[ " ${row_options[r]} " == *' --single '* ]]; then
                expect=''
            fi
            got=${decoded[$reader $file]-}
            if [ -n "${reader_error[$reader $file]+set}" ]; then
                fail "$r" "$reader" "$where: could not run: ${reader_error[$reader $file]}"
            elif [ "$got" != "$expect" ]; then
                fail "$r" "$reader" "$where: expected $(quoted "$expect"), got $(quoted "$got")"
            else
                passed=$((passed + 1))
            fi
        done
    done
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
