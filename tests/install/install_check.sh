#!/usr/bin/env bash
# Installs the built program into a fresh prefix and checks what a player gets: the program,
# which finds the installed demo by itself and finds it clean, the menu entry, the icon in
# every size and the manual page.
#
# usage: tests/install/install_check.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install_check: FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
cd /  # the program must not lean on the current folder
"$prefix/bin/tsukikage" --version | grep -q '^tsukikage 1\.0\.0\.12$' || fail "--version"
"$prefix/bin/tsukikage" --check || fail "the installed demo is not found clean by --check"
[[ -f $prefix/share/tsukikage/demo/datafile ]] || fail "no demo scenario"
for record in cgmode.dat endlist.dat save1.dat; do
    [[ ! -e $prefix/share/tsukikage/demo/$record ]] || fail "the demo ships a record: $record"
done
[[ ! -e $prefix/share/tsukikage/demo/tsukikage ]] || fail "the program is copied into the demo"
grep -q '^Exec=tsukikage' "$prefix/share/applications/tsukikage.desktop" || fail "desktop entry"
grep -q '^Name\[ja\]=月影回廊物語$' "$prefix/share/applications/tsukikage.desktop" ||
    fail "desktop entry's Japanese name"
for size in 16 24 32 48 64 128 256; do
    [[ -s $prefix/share/icons/hicolor/${size}x$size/apps/tsukikage.png ]] || fail "icon $size"
done
[[ -s $prefix/share/man/man6/tsukikage.6 ]] || fail "manual page"
echo "install_check: PASS"
