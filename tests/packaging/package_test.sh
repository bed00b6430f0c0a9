#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree, unpacks it into a temporary root,
# checks what dpkg and a desktop expect to find there, then runs the smoke test on
# the unpacked program (77, skipped, when Xvfb is missing). Needs the packages
# dpkg-dev, file, desktop-file-utils, appstream, groff-base and man-db.
#   package_test.sh BUILD_DIR CPACK VERSION GRIMSPIRE_REPLAY
set -eu
build=$1 cpack=$2 version=$3 replay=$4 tests=$(dirname "$(realpath "$0")")/..
id=io.github.grimspire.Grimspire
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(echo "$work"/out/*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
control="$(field Package) $(field Version) $(field Section) $(field Architecture)"
[ "$control" = "grimspire $version games $(dpkg --print-architecture)" ] || fail "control fields: $control"
# Computed from the linked libraries, so the C library and Qt must be among them.
depends=" $(field Depends | tr ',|' '  ') "
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6; do
    [[ $depends == *" $lib "* ]] || fail "Depends does not name $lib:$depends"
done

# Every file the package carries and nothing more, owned by root and writable by root alone.
root=$work/root
dpkg-deb -x "$deb" "$root"
expected=$(printf './usr/%s\n' bin/grimspire bin/grimspire-term share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/doc/grimspire/{README.md,changelog.gz,copyright} share/man/man6/grimspire.6.gz \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png | sort)
actual=$(cd "$root" && find . ! -type d | sort)
[ "$actual" = "$expected" ] || fail "the package's files differ: $(diff <(echo "$expected") <(echo "$actual"))"
[ -z "$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')" ] || fail "files not owned by root"
[ -z "$(find "$root" -perm /022 ! -type l)" ] || fail "group- or world-writable files"
icons=$(cd "$root/usr/share/icons/hicolor" && file -b */apps/$id.png | cut -d, -f1,2 | tr -d ' ' | tr '\n' ' ')
[ "$icons" = "$(printf 'PNGimagedata,%s ' 128x128 16x16 256x256 32x32 48x48 64x64)" ] || fail "the icons are $icons"
zcat "$root/usr/share/doc/grimspire/changelog.gz" | head -n1 | grep -qF "grimspire ($version) unstable;" ||
    fail "the changelog's first entry is not for version $version"
for program in grimspire grimspire-term; do
    file -b "$root/usr/bin/$program" | grep -q '^ELF .*executable.*, stripped$' || fail "usr/bin/$program is not stripped"
done

desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
grep -qx "Exec=/usr/bin/grimspire" "$desktop" && grep -qx "Icon=$id" "$desktop" || fail "Exec or Icon is wrong"
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
# As a software centre sees it: metainfo, desktop entry and icons together.
appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli rejects the installed tree"

man_page=$root/usr/share/man/man6/grimspire.6.gz
warnings=$(zcat "$man_page" | groff -t -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
lexgrog "$man_page" | grep -q '"grimspire - ' || fail "the manual page has no whatis line for grimspire"

# Its status, 77 (skipped) included, is this test's: a skip never passes.
bash "$tests/terminal/tmux_smoke.sh" "$root/usr/bin/grimspire-term" "$replay" "$tests/scenarios" || exit
bash "$tests/qt/xvfb_smoke.sh" "$root/usr/bin/grimspire" "$replay" "$tests/scenarios" "$tests/../resources/glyphs.gif"
