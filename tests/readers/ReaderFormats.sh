# shellcheck shell=bash
# Sourced by the reader round trips: what each reader reads of quillmark-cli's symbols.
# reader_args TYPE: for a list name of quillmark-cli, the ZXingReader format, then the zbarimg
# options that enable that symbology alone, with zbarimg's own minimum lengths.
reader_args() {
    case $1 in
    'Code EAN13') echo 'EAN-13 -Sean13.enable -Sean2.enable -Sean5.enable' ;;
    'Code EAN8') echo 'EAN-8 -Sean8.enable -Sean2.enable -Sean5.enable' ;;
    'Code 39' | 'Code 39 Extended') echo 'Code39 -Scode39.enable' ;;
    'Code 93' | 'Code 93 Extended') echo 'Code93 -Scode93.enable' ;;
    'Code 128' | 'Code 128'? | GS1-128) echo 'Code128 -Scode128.enable' ;;
    'Code UPC-A') echo 'UPC-A -Sean13.enable -Supca.enable -Sean2.enable -Sean5.enable' ;;
    'Code UPC-E') echo 'UPC-E -Supce.enable -Sean2.enable -Sean5.enable' ;;
    'Code ITF-14') echo 'ITF -Si25.enable' ;;
    'Code 2 5 interleaved') echo 'ITF -Si25.enable' ;;
    'Code Codabar') echo 'Codabar -Scodabar.enable' ;;
    esac
}
must_carry() { # TYPE DATA: the data a symbol must carry, as carried() reads it back
    local type=$1 data=$2 length=12 addon=''
    ! has_addons "$type" || [[ $data != *+* ]] || addon=+${data#*+} data=${data%%+*}
    case $type in
    'Code EAN13' | 'Code EAN8')
        [ "$type" = 'Code EAN13' ] || length=7
        data=${data:0:length} # a typed check digit is the readers' to check
        while [ ${#data} -lt $length ]; do data=0$data; done
        ;;
    'Code 128C' | 'Code 2 5 interleaved') [ $((${#data} % 2)) -eq 0 ] || data=0$data ;;
    'Code Codabar') [[ ! $data =~ ^[A-D].*[A-D]$ ]] || data=${data:1:${#data}-2} ;;
    'Code UPC-A') data=${data:0:11} ;;
    'Code ITF-14') data=${data:0:13} ;;
    GS1-128) data=$(element_string "$data") ;;
    esac
    printf '%s' "$data$addon"
}
has_addons() { # TYPE: whether the symbology takes an add-on
    case $1 in 'Code EAN13' | 'Code EAN8' | 'Code UPC-A' | 'Code UPC-E') return 0 ;; esac
    return 1
}
addon_joined() { # TYPE TEXTS: an EAN or UPC symbol and its add-on, one per line as zbarimg reports
    # them apart, as one "MAIN ADDON" text as ZXingReader does; ZXingReader's reading of the main
    # symbol alone, in the scan lines above the add-on, goes with it. Other texts as they are.
    local line addon='' lines=()
    has_addons "$1" || { printf '%s' "$2"; return; }
    while IFS= read -r line; do
        if [[ $line =~ ^([0-9]{2}|[0-9]{5})$ ]]; then
            addon=$line
        elif [[ $line == *' '* ]]; then
            addon=${line#* } lines+=("${line% *}")
        elif [ -n "$line" ]; then
            lines+=("$line")
        fi
    done <<< "$2"
    [ ${#lines[@]} -eq 0 ] || printf "%s${addon:+ $addon}\n" "${lines[@]}" | LC_ALL=C sort -u
}
# BRACKETED: GS1's element string as the readers give it: the identifiers and their data, a
# group separator after each field of variable length but the last. Knows the identifiers the
# round trips generate.
element_string() {
    local rest=$1 out='' ai
    while [[ $rest =~ ^\(([0-9]+)\)([^\(]*)(.*)$ ]]; do
        ai=${BASH_REMATCH[1]} out+=$ai${BASH_REMATCH[2]} rest=${BASH_REMATCH[3]}
        case $ai in 10 | 21 | 37) [ -z "$rest" ] || out+='<GS>' ;; esac
    done
    printf '%s' "$out"
}
full_ascii() { # TEXT: Code 39's full ASCII pairs read as the printable characters they stand for
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
zbar_decoded() { # XML: adds the texts that zbarimg's XML reports for each file to
    # decoded["zbarimg FILE"], each followed by a line feed; GS1 data, which zbarimg marks and the
    # symbol identifies as ]C1, begins with ]C1, and a group separator reads <GS>.
    local line file text mark='' base64=''
    while IFS= read -r line; do
        [[ $line != *"<symbol "* ]] || { [[ $line == *"modifiers='GS1'"* ]] && mark=']C1' || mark=''; }
        case $line in
        "<source href='"*) file=${line#"<source href='"} file=${file%"'>"} ;;
        *'<data><![CDATA['*) text=${line#*'<data><![CDATA['} && decoded[zbarimg $file]+=$mark${text%']]></data>'*}$'\n' ;;
        # Data with a control character comes in base64 on the next line.
        *"<data format='base64'"*) base64=1 ;;
        *'<data '*) decoded[zbarimg $file]+="(not text: $line)"$'\n' ;;
        *)
            if [ -n "$base64" ]; then
                text=$(printf '%s' "$line" | base64 -d | sed 's/\x1d/<GS>/g')
                decoded[zbarimg $file]+=$mark$text$'\n' base64=''
            fi
            ;;
        esac
    done < "$1"
}
carried() { # READER TYPE TEXT: what the reader's text says the symbol carries
    local text=$3 addon=''
    ! has_addons "$2" || [[ $text != *' '* ]] || addon=+${text#* } text=${text%% *}
    case $2 in
    'Code EAN13' | 'Code EAN8' | 'Code 39') text=${text%?} ;;
    'Code 39 Extended') text=$(full_ascii "${text%?}") ;;
    'Code Codabar') [ "$1" = ZXingReader ] || text=${text:1:${#text}-2} ;;
    'Code UPC-A' | 'Code UPC-E' | 'Code ITF-14') text=${text%?} ;;
    GS1-128) # zbarimg marks GS1 data with ]C1, as the symbol's identifier does; ZXingReader not
        if [ "$1" = zbarimg ] && [ -n "$text" ]; then
            [[ $text == ']C1'* ]] && text=${text:3} || text="without ]C1: $text"
        fi
        ;;
    esac
    printf '%s' "$text$addon"
}
