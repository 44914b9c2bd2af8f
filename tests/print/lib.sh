# shellcheck shell=bash
# Bash helpers for commands run under tests/print/WithPrivateCups.sh.
# That script exports QUILLMARK_PRINT_LIB (this file's path) and the functions
# (`export -f`), so a bash COMMAND can call them directly; from elsewhere run
#   pdf=$(bash -c '. "$QUILLMARK_PRINT_LIB"; wait_for_printed_pdf')

# wait_for_printed_pdf [TIMEOUT_SECONDS=60]
# Waits until exactly one PDF is in $QUILLMARK_PRINTED, the scheduler has no
# unfinished job and the file's size has held for 0.3 s (cups-pdf has
# ghostscript write the final file in place, so "exists" is not "done").
# Prints the PDF's path; returns 1 on timeout or when more than one PDF shows up
# (a test that prints again moves or deletes the first PDF before waiting).
wait_for_printed_pdf() {
    local limit=$(( ${1:-60} * 10 )) tick size last='' steady=0 pdfs
    for (( tick = 0; tick < limit; tick++ )); do
        pdfs=("$QUILLMARK_PRINTED"/*.pdf)
        if (( ${#pdfs[@]} > 1 )); then
            echo "wait_for_printed_pdf: more than one PDF printed: ${pdfs[*]}" >&2
            return 1
        fi
        if [[ -f ${pdfs[0]-} ]] && [[ -z $(lpstat -o 2>/dev/null) ]]; then
            size=$(stat -c %s "${pdfs[0]}")
            if [[ $size == "$last" && $size -gt 0 ]]; then
                (( ++steady >= 3 )) && { echo "${pdfs[0]}"; return 0; }
            else
                steady=0 last=$size
            fi
        fi
        sleep 0.1
    done
    echo "wait_for_printed_pdf: no finished PDF in $QUILLMARK_PRINTED after ${1:-60} s" >&2
    return 1
}
