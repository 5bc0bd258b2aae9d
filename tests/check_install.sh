#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks the layout a desktop needs.
# Usage: check_install.sh <build folder>
set -euo pipefail
build=$1
destdir=$(mktemp -d)
trap 'rm -rf "$destdir"' EXIT
DESTDIR=$destdir cmake --install "$build" --prefix /usr >/dev/null
root=$destdir/usr
fail() { echo "check_install: $*" >&2; exit 1; }

program=$(readlink -f "$root/bin/zenobra")
[ -L "$root/bin/zenobra" ] && [ -x "$program" ] && [ "$program" = "$root/lib/zenobra/zenobra" ] ||
    fail "bin/zenobra is not a link to the program at lib/zenobra/zenobra"
[ -x "$root/lib/zenobra/zenobra-registro" ] || fail "no teacher's window beside the program"
# A match never loads what only the teacher's window needs.
! readelf -d "$program" | grep -qE 'Qt6Charts|Qt6PrintSupport|Qt6TextToSpeech' ||
    fail "the game itself needs Qt Charts, Print Support or Speech"
readelf -d "$root/lib/zenobra/libzenobra-voce.so" | grep -q 'Qt6TextToSpeech' ||
    fail "no voice beside the program"
for sound in sparo esplosi laser; do
    [ -s "$(dirname "$program")/suoni/$sound.wav" ] || fail "no suoni/$sound.wav beside the program"
done
id=it.zenobra.zenobra
for file in applications/$id.desktop metainfo/$id.metainfo.xml icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$root/share/$file" ] || fail "no $file"
done
for size in 32 64 128 256; do
    [ -s "$root/share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size}px icon"
done
# Every setting, commented out.
for key in folder divisor explanations enabled practice pace always; do
    grep -q "^# $key=" "$destdir/etc/xdg/zenobra/zenobra.conf" || fail "no commented-out $key="
done
# Valid without a warning, or a hint.
for entry in $id it.zenobra.registro; do
    told=$(desktop-file-validate "$root/share/applications/$entry.desktop" 2>&1)
    [ -z "$told" ] || fail "$told"
    told=$(appstreamcli validate --pedantic --no-net --no-color "$root/share/metainfo/$entry.metainfo.xml" 2>&1)
    [ "$told" = "✔ Validation was successful." ] || fail "$told"
done
for page in zenobra zenobra-registro; do
    manual=$root/share/man/man6/$page.6
    [ -f "$manual" ] || fail "no manual page $page(6)"
    told=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null)
    [ -z "$told" ] || fail "$page(6): $told"
done
echo "check_install: layout and desktop files are valid"
