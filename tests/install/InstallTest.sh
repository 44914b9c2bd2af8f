#!/usr/bin/env bash
# `cmake --install` into a fresh prefix puts the programs in bin/ and the icon in the hicolor
# theme, each PNG of its named size and a Code 128 symbol that a reader decodes as "Q". (The menu
# entry is validated in the package.)
#
#   InstallTest.sh BUILD_DIR
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for program in quillmark quillmark-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not an installed program"
done
"$prefix/bin/quillmark-cli" --version > /dev/null || fail "the installed quillmark-cli does not run"

for size in 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/quillmark.png
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] ||
        fail "$png is not a ${size}x${size} PNG"
    [ "$(zbarimg --quiet --raw -Sdisable -Scode128.enable "$png" 2> /dev/null)" = "Q" ] ||
        fail "$png does not read as the Code 128 symbol of Q"
done

[ "$failures" -eq 0 ]
