#!/usr/bin/env bash
# quillmark-cli's bash completion, called as bash calls it on Tab: it is registered for the
# command, and each row gives the words typed and the candidates it must offer.
#
#   CompletionTest.sh COMPLETION_FILE DIRECTORY_OF_QUILLMARK_CLI
set -uo pipefail

source /usr/share/bash-completion/bash_completion
source "$1"
PATH=$(realpath "$2"):$PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir "out dir"
touch code.bmp

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

[ "$(complete -p quillmark-cli)" = "complete -F _quillmark_cli quillmark-cli" ] ||
    fail "complete -p quillmark-cli: $(complete -p quillmark-cli 2>&1)"

# The candidates, one a line, for the command line "quillmark-cli WORD...", the last word being
# the one completed.
candidates() {
    COMP_WORDS=(quillmark-cli "$@")
    COMP_CWORD=$#
    COMP_LINE=${COMP_WORDS[*]}
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    # compopt complains outside a real Tab; what it sets is readline's business.
    _quillmark_cli quillmark-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}" 2> /dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect() {
    local want=$1
    shift
    local got
    got=$(candidates "$@")
    [ "$got" = "$want" ] || fail "quillmark-cli $* offers [${got//$'\n'/|}], not [${want//$'\n'/|}]"
}

expect $'Code 128\nCode 128A\nCode 128B\nCode 128C' --type 'Code\ 1'
expect $'Code EAN13\nCode EAN8' --type '"Code E'
expect 'Code 39 Extended' --single --type "'Code 39 E"
expect '--no-checksum' --no-c
expect '--single' --si
expect $'--to\n--type' --single --t
expect 'code.bmp' --output c
expect $'bmp\neps\njpg\npdf\npng\nsvg' --output x --format ''
expect '--symbol' --sy
expect '--bearer' --be
expect $'bars\nframe\nnone' --symbol --bearer ''
expect '' --symbol --x-dim 0
expect 'out dir' --dir o
expect '' --dir c
expect '' --data c
expect 'code.bmp' --data-file c
expect $'--data\n--data-file' --dat
expect 'tab' --delimiter ''
expect '' --name c

[ "$failures" -eq 0 ]
