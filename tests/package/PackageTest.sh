#!/usr/bin/env bash
# The Debian package of a Release build, checked the way Debian checks it: its name, its files,
# its control fields (the libraries come from the binaries, none from the build tree), lintian
# without errors, the AppStream data and the menu entry validated, both man pages rendered
# without a warning, the icons PNG files of their sizes that read as the Code 128 symbol of "Q",
# and the programs unpacked into a scratch root, run from there.
#
#   PackageTest.sh BUILD_DIR
set -euo pipefail

build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
debs=("$work"/cpack/*.deb)
deb=${debs[0]}
[ ${#debs[@]} -eq 1 ] || fail "cpack wrote ${#debs[@]} packages"

version=$("$build/app/quillmark-cli" --version)
version=${version#quillmark-cli }
[ "$(basename "$deb")" = "quillmark_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "the package is named $(basename "$deb")"

expected_files="./usr/bin/quillmark
./usr/bin/quillmark-cli
./usr/share/applications/org.example.quillmark.desktop
./usr/share/bash-completion/completions/quillmark-cli
./usr/share/doc/quillmark/changelog.gz
./usr/share/doc/quillmark/copyright
./usr/share/icons/hicolor/128x128/apps/quillmark.png
./usr/share/icons/hicolor/256x256/apps/quillmark.png
./usr/share/icons/hicolor/64x64/apps/quillmark.png
./usr/share/man/man1/quillmark-cli.1.gz
./usr/share/man/man1/quillmark.1.gz
./usr/share/metainfo/org.example.quillmark.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected_files" ] ||
    fail "the package holds other files:"$'\n'"$(diff <(echo "$expected_files") <(echo "$files"))"

depends=$(dpkg-deb -f "$deb" Depends)
names=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g')
# Every dependency is a Debian package (one this machine has, since it built the programs).
for package in $names; do
    dpkg-query -W "$package" > /dev/null 2>&1 || fail "Depends names $package, which is no package"
done
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins \
    libcairo2 libfreetype6 libfontconfig1 fonts-dejavu-core; do
    grep -qx "$package" <<< "$names" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = fonts-ocr-b ] || fail "Recommends is not fonts-ocr-b"

lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 ||
    fail "lintian finds errors:"$'\n'"$(cat "$work/lintian.log")"

root=$work/root
dpkg -x "$deb" "$root"
appstreamcli validate --no-net --pedantic \
    "$root/usr/share/metainfo/org.example.quillmark.metainfo.xml" > "$work/appstream.log" ||
    fail "appstreamcli: $(cat "$work/appstream.log")"
desktop-file-validate "$root/usr/share/applications/org.example.quillmark.desktop" ||
    fail "desktop-file-validate rejects the menu entry"
for page in quillmark quillmark-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 > "$work/$page.txt")
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    grep -q "^ *$page - " "$work/$page.txt" || fail "man $page has no NAME line for $page"
done

for size in 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/quillmark.png
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] || fail "$png is not a ${size}x${size} PNG"
    [ "$(zbarimg --quiet --raw -Sdisable -Scode128.enable "$png" 2> /dev/null)" = Q ] ||
        fail "$png does not read as the Code 128 symbol of Q"
done
"$root/usr/bin/quillmark-cli" --output "$work/unpacked.bmp" || fail "the unpacked quillmark-cli fails"
"$build/app/quillmark-cli" --output "$work/built.bmp"
cmp -s "$work/unpacked.bmp" "$work/built.bmp" ||
    fail "the unpacked quillmark-cli writes other bytes than the one built"
# PDF through the cairo the package depends on, found at run time.
"$root/usr/bin/quillmark-cli" --symbol --output "$work/unpacked.pdf" &&
    [ "$(head -c 5 "$work/unpacked.pdf")" = %PDF- ] || fail "the unpacked quillmark-cli writes no PDF"
[ "$("$root/usr/bin/quillmark" --version)" = "Quillmark $version" ] ||
    fail "the unpacked quillmark does not state version $version"

[ "$failures" -eq 0 ]
