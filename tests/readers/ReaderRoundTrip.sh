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
# The inputs are generated for every symbology the readers know; each image is read whole. Both
# readers report the two identical copies of a Dual Code image as one result, and accept the 5
# white columns left of the symbol as quiet zone, so the images are read as written.
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

types=() datas=() texts=()

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
generated_types=('Code EAN13' 'Code EAN8' 'Code 39' 'Code 39 Extended' 'Code 93' 'Code 93 Extended'
    'Code 128A' 'Code 128B' 'Code 128C' 'Code 2 5 interleaved' 'Code Codabar')
for type in "${generated_types[@]}"; do
    for kind in 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4; do
        generate $kind
        types+=("$type") datas+=("$data") texts+=("$(must_carry "$type" "$data")")
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
readonly width=525 height=276 file_size=579654

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
    printf 'FAIL %s: type "%s" data %s %s\n' "$2" "${types[$1]}" "$(quoted "${datas[$1]}")" "$3"
}

cd "$work"
declare -A files=() # type -> the image files written for it
declare -A accepted=() # type -> how many generated inputs were drawn whole
written=()
refused=0 cut_off=0
for r in "${!types[@]}"; do
    image=$(printf 'row%03d.bmp' "$r")
    if ! message=$("$cli" --type "${types[r]}" --data "${datas[r]}" --output "$image" 2>&1); then
        if [[ $message =~ ^(TBarcode:.*\ bad\ Data\ \<.*\>:\ .+|\'.+\'\ is\ not\ a\ valid\ integer\ value)$ ]]; then
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
    if [[ $message == *'warning: the symbol is cut off'* ]]; then
        cut_off=$((cut_off + 1))
        continue
    fi
    accepted[${types[r]}]=$((${accepted[${types[r]}]-0} + 1))
    files[${types[r]}]+=" $image"
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
    file=${written[r]}
    for reader in zbarimg ZXingReader; do
        expect=${texts[r]}
        case "$reader ${types[r]}" in
        'ZXingReader Code 2 5 interleaved') [ ${#expect} -ge 6 ] || continue ;;
        'ZXingReader Code Codabar') [ ${#expect} -ge 2 ] || continue ;;
        esac
        got=${decoded[$reader $file]-}
        if [ -n "$got" ] && [[ $got != *$'\n'* ]]; then
            got=$(carried "$reader" "${types[r]}" "$got")
        fi
        if [ -n "${reader_error[$reader $file]+set}" ]; then
            fail "$r" "$reader" "could not run: ${reader_error[$reader $file]}"
        elif [ "$got" != "$expect" ]; then
            fail "$r" "$reader" "expected $(quoted "$expect"), got $(quoted "$got")"
        else
            passed=$((passed + 1))
        fi
    done
done
# Every symbology must have had inputs to read, or the property says nothing about it.
for type in "${generated_types[@]}"; do
    if [ -z "${accepted[$type]+set}" ]; then
        failed=$((failed + 1))
        echo "FAIL: no generated input of \"$type\" was drawn whole"
    fi
done
echo "generated: ${#types[@]} inputs, $refused refused, $cut_off cut off"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
