#!/usr/bin/env bash
# Reader round trip: quillmark-cli writes code images of generated inputs for every symbology that
# zbarimg and ZXingReader know; each input must be refused with the engine's message or read by
# both readers as exactly the typed data, but for what the symbology adds: check characters, the
# leading zeros it needs, Codabar's start and stop. Each reader runs once per symbology over all
# its files with only that symbology enabled. As the readers report them: EAN and Code 39 with
# their check character, Code 39 Extended as raw Code 39 ("a" reads "+A"), Code 93 Extended
# decoded, Code 128 without its check, UPC-A, UPC-E and ITF-14 with their check digit, GS1-128's
# element strings with <GS> between fields (zbarimg with ]C1 before them, as it marks GS1 data);
# zbarimg gives Codabar's start and stop, ZXingReader not.
# ZXingReader reads interleaved 2 of 5 of 6 digits or more and Codabar of 2 characters or more
# only, zbarimg UPC-E of number system 0 only (GS1's; 1 is the older practice). A symbol the image cuts off is left out (quillmark-cli warns that it may not scan).
#
#   ReaderRoundTrip.sh PATH/TO/quillmark-cli
set -euo pipefail

cli=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
for tool in zbarimg ZXingReader; do
    command -v "$tool" > /dev/null || { echo "$tool is not installed; scripts/bootstrap installs it" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

RANDOM=2026 # the same inputs on every run
digits=0123456789 code39='0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%' codabar='0123456789-$:/.+'
printf -v ascii "$(printf '\\%03o' $(seq 32 126))"
accented=(é ü ß Ž ň ů ø)
# Generation runs in this shell, never in a subshell, which would draw its own random numbers.
pick() { # CHARACTERS LENGTH: appends that many characters drawn from CHARACTERS to $data
    local i
    for ((i = 0; i < $2; i++)); do data+=${1:RANDOM % ${#1}:1}; done
}
gtin() { # appends 13 random digits and GS1's check digit to $data
    local start=${#data} sum=0 i
    pick "$digits" 13
    for ((i = 0; i < 13; i++)); do sum=$((sum + ${data:start+i:1} * (i % 2 == 0 ? 3 : 1))); done
    data+=$(((10 - sum % 10) % 10))
}
element() { # appends one GS1 element string of a kind drawn at random to $data
    case $((RANDOM % 5)) in
    0) data+='(01)' && gtin ;;
    1) printf -v date '%02d%02d%02d' $((RANDOM % 100)) $((RANDOM % 12 + 1)) $((RANDOM % 28 + 1)) && data+="(17)$date" ;;
    2) data+='(10)' && pick "$code39" $((RANDOM % 8 + 1)) ;;
    3) data+='(21)' && pick "${code39// /}" $((RANDOM % 8 + 1)) ;;
    4) data+='(37)' && pick "$digits" $((RANDOM % 8 + 1)) ;;
    esac
}
generate() { # KIND: $data becomes one input of kind 0 to 8
    data=''
    case $1 in
    0) pick "$digits" $((RANDOM % 15)) ;;
    1) pick "$code39" $((RANDOM % 10 + 1)) ;;
    2) pick "$ascii" $((RANDOM % 8 + 1)) ;;
    3) pick "$ascii" $((RANDOM % 4)) && data+=${accented[RANDOM % ${#accented[@]}]} && pick "$ascii" $((RANDOM % 4)) ;;
    4) pick ABCD $((RANDOM % 2)) && pick "$codabar$codabar$codabar$codabar" $((RANDOM % 10 + 1)) && pick ABCD $((RANDOM % 2)) ;;
    5) pick "$digits" 11 ;;                   # UPC-A
    6) pick 01 1 && pick "$digits" 6 ;;       # UPC-E with its number system
    7) pick "$digits" 13 ;;                   # ITF-14
    8) element && ((RANDOM % 2 == 0)) || element ;; # one or two GS1 element strings
    esac
}
# shellcheck source=tests/readers/ReaderFormats.sh
source "$here/ReaderFormats.sh"

failed=0 passed=0 refused=0 cut_off=0
fail() { # MESSAGE
    failed=$((failed + 1))
    echo "FAIL $1"
}
types=() datas=() texts=() written=()
declare -A files=() # type -> its image files
generated_types=('Code EAN13' 'Code EAN8' 'Code 39' 'Code 39 Extended' 'Code 93' 'Code 93 Extended'
    'Code 128A' 'Code 128B' 'Code 128C' 'Code 2 5 interleaved' 'Code Codabar' 'Code 128' GS1-128
    'Code UPC-A' 'Code UPC-E' 'Code ITF-14')
declare -A kinds=([GS1-128]=8 ['Code UPC-A']=5 ['Code UPC-E']=6 ['Code ITF-14']=7)
for type in "${generated_types[@]}"; do
    read -r -a own <<< "${kinds[$type]-0 1 2 3 4}"
    for ((i = 0; i < 20; i++)); do
        kind=${own[i % ${#own[@]}]}
        generate $kind
        r=${#types[@]} image=$(printf 'row%03d.bmp' ${#types[@]})
        types+=("$type") datas+=("$data") texts+=("$(must_carry "$type" "$data")")
        if ! message=$("$cli" --type "$type" --data "$data" --output "$image" 2>&1); then
            if [[ $message =~ ^(TBarcode:.*\ bad\ Data\ \<.*\>:\ .+|\'.+\'\ is\ not\ a\ valid\ integer\ value)$ ]]; then
                refused=$((refused + 1))
            else
                fail "quillmark-cli: type \"$type\" data \"$data\": $message"
            fi
        elif [[ $message == *'warning: the symbol is cut off'* ]]; then
            cut_off=$((cut_off + 1))
        else
            files[$type]+=" $image"
            written[r]=$image
        fi
    done
    [ -n "${files[$type]-}" ] || fail "no generated input of \"$type\" was drawn whole"
done

# "reader file" -> the texts the reader read in the file, each followed by a line feed.
declare -A decoded=()
for type in "${!files[@]}"; do
    read -r -a batch <<< "${files[$type]}"
    read -r zxing_format zbar_options <<< "$(reader_args "$type")"
    # The short data of the generated inputs: any length is read.
    zbar_options+=" -Si25.min-length=2 -Scodabar.min-length=0"
    status=0
    # shellcheck disable=SC2086 # the configuration words
    zbarimg --nodbus --xml -q -Sdisable $zbar_options "${batch[@]}" > out 2> err || status=$?
    # 4: some image held no symbol
    [ "$status" -eq 0 ] || [ "$status" -eq 4 ] || fail "zbarimg on $type exits $status: $(head -c 300 err)"
    zbar_decoded out
    ZXingReader -1 -format "$zxing_format" "${batch[@]}" > out 2> err || fail "ZXingReader on $type: $(head -c 300 err)"
    while IFS= read -r line; do # FILE None, or FILE FORMAT "TEXT"
        text=${line#* * \"}
        [ "${line#* }" = None ] || decoded[ZXingReader ${line%% *}]+=${text%\"}$'\n'
    done < out
done

for r in "${!written[@]}"; do
    for reader in zbarimg ZXingReader; do
        expect=${texts[r]}
        case "$reader ${types[r]}" in
        'ZXingReader Code 2 5 interleaved') [ ${#expect} -ge 6 ] || continue ;;
        'ZXingReader Code Codabar') [ ${#expect} -ge 2 ] || continue ;;
        'zbarimg Code UPC-E') [ "${expect:0:1}" = 0 ] || continue ;;
        esac
        # Both copies of a Dual Code image read as one text.
        got=$(printf '%s' "${decoded[$reader ${written[r]}]-}" | LC_ALL=C sort -u)
        [ -z "$got" ] || [[ $got == *$'\n'* ]] || got=$(carried "$reader" "${types[r]}" "$got")
        if [ "$got" = "$expect" ]; then
            passed=$((passed + 1))
        else
            fail "$reader: type \"${types[r]}\" data \"${datas[r]}\": expected \"$expect\", got \"$got\""
        fi
    done
done
echo "generated: ${#types[@]} inputs, $refused refused, $cut_off cut off; $passed passed, $failed failed"
[ "$failed" -eq 0 ]
