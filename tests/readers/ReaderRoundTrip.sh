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
#                   ZXingReader reads only two data characters or more; zbarimg is given
#                   -Scodabar.min-length=0 for shorter ones.
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

# EAN-13: with the check digit on, up to 12 digits are zero-padded on the left to 12 and the mod
# 10 check digit (weights 3,1,3,... from the right) is appended; 13 digits carry their own.
cases 'Code EAN13' 1234567890128 = 400638133393 4006381333931 123 0000000001236 # checks 1, 6
cases 'Code EAN13' 9780306406157 = 590123412345 5901234123457                  # check 7
options --no-checksum 'Code EAN13' 5901234123457 = # as given
# EAN-8: zero-padded to 7 digits, then the mod 10 check digit; 8 digits carry their own.
cases 'Code EAN8' 1234567 12345670 23456785 = 42 00000420 9638507 96385074 # 0, 4
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
# Set A/B value = character code - 32. Checks 72, 33, 4, 32; 50, 64, 76, 96.
cases 'Code 128A' 'CODE 128A' = 'HELLO_[]^@' = "!\"#\$%&'()*+,-./" = 1234567890 =
cases 'Code 128B' 'Code 128b!' = '{|}~`abc' = 'Hello, World!' = 'say "hi" <&>' =
# Set C: pairs of digits, value = the pair; an odd count gets a leading 0. Checks 44 (105 + 12 +
# 68 + 168 = 353), 81 (105 + 1 + 46 + 135), 40, 2, 77.
cases 'Code 128C' 123456 = 12345 012345 1234567 01234567 00 = 9876543210 =
# 2 of 5 interleaved: digit pairs, no check digit; an odd count gets a leading 0.
cases 'Code 2 5 interleaved' 123456 = 1234567 01234567 1234567890 = 000000 = 12 = 12345 012345
# Codabar: start "A", stop "B", no check character; data framed by A to D brings its own.
cases 'Code Codabar' 123456 A123456B '-$:/.+' 'A-$:/.+B' 1234567890 A1234567890B 12 A12B
cases 'Code Codabar' 31117013206375 A31117013206375B C5678D = D1-2A =
# --single and --no-text.
for opts in --single --no-text '--single --no-text'; do
    options "$opts" 'Code EAN13' 1234567890128 =
done
options --single 'Code 39' CODE-39 CODE-39P
options '--no-text --single' 'Code 39' CODE-39 CODE-39P
options --no-text 'Code 128B' 'Code 128b!' =
options --single 'Code 128B' 'Code 128b!' =

# The property: generated inputs for every symbology the readers know, each either refused with
# the engine's message or read by both readers as exactly the typed data, but for what the
# symbology adds: check characters, the leading zeros it needs, Codabar's start and stop. A
# symbol the image cuts off is left out (the CLI warns that it may not scan).
RANDOM=2026 # the same inputs on every run
digits=0123456789 code39='0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%' codabar='0123456789-$:/.+'
printf -v ascii "$(printf '\\%03o' $(seq 32 126))"
accented=(é ü ß Ž ň ů ø)
# Generation runs in this shell, never in a subshell, which would draw its own random numbers.
pick() { # CHARACTERS LENGTH: appends that many characters drawn from CHARACTERS to $data
    local i
    for ((i = 0; i < $2; i++)); do data+=${1:RANDOM % ${#1}:1}; done
}
generate() { # KIND: $data becomes one input of kind 0 to 4
    data=''
    case $1 in
    0) pick "$digits" $((RANDOM % 15)) ;;
    1) pick "$code39" $((RANDOM % 10 + 1)) ;;
    2) pick "$ascii" $((RANDOM % 8 + 1)) ;;
    3)
        pick "$ascii" $((RANDOM % 4))
        data+=${accented[RANDOM % ${#accented[@]}]}
        pick "$ascii" $((RANDOM % 4))
        ;;
    4)
        pick ABCD $((RANDOM % 2))
        pick "$codabar$codabar$codabar$codabar" $((RANDOM % 10 + 1))
        pick ABCD $((RANDOM % 2))
        ;;
    esac
}
# The data a symbol of TYPE must carry for the typed DATA, as carried() reads it back.
must_carry() {
    local type=$1 data=$2 length=12
    case $type in
    'Code EAN13' | 'Code EAN8')
        [ "$type" = 'Code EAN13' ] || length=7
        data=${data:0:length} # a typed check digit is the readers' to check
        while [ ${#data} -lt $length ]; do data=0$data; done
        ;;
    'Code 128C' | 'Code 2 5 interleaved') [ $((${#data} % 2)) -eq 0 ] || data=0$data ;;
    'Code Codabar') [[ ! $data =~ ^[A-D].*[A-D]$ ]] || data=${data:1:${#data}-2} ;;
    esac
    printf '%s' "$data"
}
# Code 39's full ASCII pairs read as the characters they stand for (the printable ones).
full_ascii() {
    local in=$1 out='' i=0 letter code
    while [ $i -lt ${#in} ]; do
        letter=${in:i+1:1}
        printf -v code %d "'$letter"
        case ${in:i:2} in
        +[A-Z]) code=$((code + 32)) ;;
        /[A-O]) code=$((code - 32)) ;;
        /Z) code=58 ;;
        %[F-J]) code=$((code - 11)) ;;
        %[K-O]) code=$((code + 16)) ;;
        %[P-S]) code=$((code + 43)) ;;
        %V) code=64 ;;
        %W) code=96 ;;
        *) code='' ;;
        esac
        if [ -n "$code" ]; then
            printf -v letter "\\$(printf %03o "$code")"
            out+=$letter i=$((i + 2))
        else
            out+=${in:i:1} i=$((i + 1))
        fi
    done
    printf '%s' "$out"
}
# What READER's TEXT says a TYPE symbol carries: the check character the readers report left
# off (EAN, Code 39), the full ASCII pairs of Code 39 read, zbarimg's Codabar start and stop
# left off.
carried() {
    local reader=$1 type=$2 text=$3
    case $type in
    'Code EAN13' | 'Code EAN8' | 'Code 39') text=${text%?} ;;
    'Code 39 Extended') text=$(full_ascii "${text%?}") ;;
    'Code Codabar') [ "$reader" = ZXingReader ] || text=${text:1:${#text}-2} ;;
    esac
    printf '%s' "$text"
}
first_generated=${#types[@]}
generated_types=('Code EAN13' 'Code EAN8' 'Code 39' 'Code 39 Extended' 'Code 93' 'Code 93 Extended'
    'Code 128A' 'Code 128B' 'Code 128C' 'Code 2 5 interleaved' 'Code Codabar')
for type in "${generated_types[@]}"; do
    for kind in 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4; do
        generate $kind
        types+=("$type") datas+=("$data") row_options+=('') texts+=("$(must_carry "$type" "$data")")
    done
done

# How each reader is asked for a symbology: the ZXingReader format, then the zbarimg options.
reader_args() {
    case $1 in
    'Code EAN13') echo 'EAN-13 -Sean13.enable' ;;
    'Code EAN8') echo 'EAN-8 -Sean8.enable' ;;
    'Code 39' | 'Code 39 Extended') echo 'Code39 -Scode39.enable' ;;
    'Code 93' | 'Code 93 Extended') echo 'Code93 -Scode93.enable' ;;
    'Code 128'?) echo 'Code128 -Scode128.enable' ;;
    'Code 2 5 interleaved') echo 'ITF -Si25.enable -Si25.min-length=2' ;;
    'Code Codabar') echo 'Codabar -Scodabar.enable -Scodabar.min-length=0' ;;
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
declare -A accepted=() # type -> how many generated inputs were drawn whole
written=()
refused=0 cut_off=0
for r in "${!types[@]}"; do
    image=$(printf 'row%03d.bmp' "$r")
    # shellcheck disable=SC2086 # the options are separate words
    if ! message=$("$cli" --type "${types[r]}" --data "${datas[r]}" ${row_options[r]} \
        --output "$image" 2>&1); then
        if [ "$r" -ge "$first_generated" ] &&
            [[ $message =~ ^(TBarcode:.*\ bad\ Data\ \<.*\>:\ .+|\'.+\'\ is\ not\ a\ valid\ integer\ value)$ ]]; then
            refused=$((refused + 1))
        else
            fail "$r" quillmark-cli "failed: $message"
        fi
        continue
    fi
    layout="$(stat -c %s "$image") $(od -An -t d4 -j 18 -N 8 "$image" | xargs)"
    if [ "$layout" != "$file_size $width $height" ]; then
        fail "$r" quillmark-cli "wrote an unexpected image: bytes, width and height $layout"
        continue
    fi
    if [ "$r" -ge "$first_generated" ]; then
        if [[ $message == *'warning: the symbol is cut off'* ]]; then
            cut_off=$((cut_off + 1))
            continue
        fi
        accepted[${types[r]}]=$((${accepted[${types[r]}]-0} + 1))
        files[${types[r]}]+=" $image"
    else
        cp "$image" "upper_$image"
        cp "$image" "lower_$image"
        paint_white "upper_$image" 120 275
        paint_white "lower_$image" 0 119
        files[${types[r]}]+=" $image upper_$image lower_$image"
    fi
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
    parts='whole upper lower'
    [ "$r" -lt "$first_generated" ] || parts=whole
    for part in $parts; do
        file=${part}_${written[r]} where="$part copy alone"
        [ "$part" != whole ] || file=${written[r]} where='whole image'
        for reader in zbarimg ZXingReader; do
            expect=${texts[r]}
            if [ "$r" -ge "$first_generated" ]; then
                case "$reader ${types[r]}" in
                'ZXingReader Code 2 5 interleaved') [ ${#expect} -ge 6 ] || continue ;;
                'ZXingReader Code Codabar') [ ${#expect} -ge 2 ] || continue ;;
                esac
            elif [ "$reader" = ZXingReader ]; then
                expect=$(zxing_text "${types[r]}" "$expect")
            fi
            [ "$expect" != n/a ] || continue
            # A single image has nothing in its lower half.
            if [ "$part" = lower ] && [[ " ${row_options[r]} " == *' --single '* ]]; then
                expect=''
            fi
            got=${decoded[$reader $file]-}
            if [ "$r" -ge "$first_generated" ] && [ -n "$got" ] && [[ $got != *$'\n'* ]]; then
                got=$(carried "$reader" "${types[r]}" "$got")
            fi
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
# Every symbology must have had inputs to read, or the property says nothing about it.
for type in "${generated_types[@]}"; do
    if [ -z "${accepted[$type]+set}" ]; then
        failed=$((failed + 1))
        echo "FAIL: no generated input of \"$type\" was drawn whole"
    fi
done
echo "generated: $((${#types[@]} - first_generated)) inputs, $refused refused, $cut_off cut off"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
