#!/usr/bin/env bash
# Makes the Debian package from the build and checks what a player gets from apt: it holds
# only the player's files, installs with apt into the system, the installed program plays the
# installed demo in a window of an Xvfb of its own (started as the menu entry starts it, with no
# folder), `dpkg -L` lists only the expected files, and purging it leaves none of them behind.
#
# It changes the system, so it runs only as root (as CI runs), and never where a tsukikage
# package is installed already: that one is a player's, not the test's. Exits 77 (skipped) then.
#
# usage: tests/install/package_check.sh BUILD_DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
if [[ $(id -u) -ne 0 ]]; then
    echo "package_check: SKIPPED: installing into the system needs root" >&2
    exit 77
fi
if dpkg-query -W -f='${db:Status-Status}' tsukikage 2>/dev/null | grep -q installed; then
    echo "package_check: SKIPPED: a tsukikage package is installed already; left as it is" >&2
    exit 77
fi

# shellcheck source=../e2e/e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
# The whole run's budget, below CTest's TIMEOUT.
e2e_begin package_check "$1" package-artifacts 200 cpack dpkg-deb apt-get

installed=false
purge() {
    if $installed; then apt-get purge -y -q tsukikage >/dev/null 2>&1 || true; fi
    installed=false
}
trap 'purge; cleanup' EXIT

# Every path the package may hold, as an extended regular expression on its /usr-relative name;
# the first group must each be there.
required=(
    bin/tsukikage
    share/applications/tsukikage.desktop
    share/doc/tsukikage/copyright
    share/doc/tsukikage/README.md
    share/man/man6/tsukikage.6
    share/tsukikage/demo/datafile
)
for size in 16 24 32 48 64 128 256; do
    required+=("share/icons/hicolor/${size}x$size/apps/tsukikage.png")
done
# The demo game: its scenario and lists, and files in its own sub-folders. Records (the seen
# and ending lists, saves) and the program itself stay out.
allowed_demo='share/tsukikage/demo/([^/]+/)*[^/]+'
records='share/tsukikage/demo/(cgmode\.dat|endlist\.dat|save[0-9]*\.dat|tsukikage)$'

# check_files WHAT: reads absolute file names (directories left out) and fails on one that is
# not the player's, or when a required one is missing.
check_files() {
    local what=$1 name found=() required_name
    while IFS= read -r name; do
        name=${name#/usr/}
        if [[ $name =~ ^$records ]]; then fail "$what holds a record or the program in the demo: $name"; fi
        local known=false
        for required_name in "${required[@]}"; do
            [[ $name == "$required_name" ]] && known=true
        done
        [[ $name =~ ^$allowed_demo$ ]] && known=true
        $known || fail "$what holds a file that is not the player's: /usr/$name"
        found+=("$name")
    done
    for required_name in "${required[@]}"; do
        printf '%s\n' "${found[@]}" | grep -qxF "$required_name" ||
            fail "$what lacks /usr/$required_name"
    done
    say "$what: ${#found[@]} files, all the player's"
}

# --- the package --------------------------------------------------------------------------------

version=$("$build_dir/demo/tsukikage" --version | awk '{print $2}')
(cd "$build_dir" && cpack -G DEB -B "$work/package" >"$artifacts/cpack.log" 2>&1) ||
    fail "cpack could not make the package (see $artifacts/cpack.log)"
deb=$work/package/tsukikage_${version}_amd64.deb
[[ -f $deb ]] || fail "no $(basename "$deb"): $(ls "$work/package")"
say "made $(basename "$deb"), $(( $(stat -c %s "$deb") / 1024 )) KiB"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "/", $6); print $6 }' |
    check_files "the package"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libsdl2-mixer sf2-soundfont-gm fonts-ipafont-gothic; do
    [[ $depends == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done

# --- installed with apt -----------------------------------------------------------------------

installed=true
apt-get install -y -q --no-install-recommends "$deb" >"$artifacts/apt-install.log" 2>&1 ||
    fail "apt could not install the package (see $artifacts/apt-install.log)"
dpkg -L tsukikage | while IFS= read -r name; do [[ -d $name ]] || echo "$name"; done |
    check_files "dpkg -L"

[[ $(command -v tsukikage) == /usr/bin/tsukikage ]] || fail "tsukikage is not on the PATH"
/usr/bin/tsukikage --version | grep -qx "tsukikage $version" || fail "the installed --version"
(cd / && /usr/bin/tsukikage --check >"$artifacts/check.log" 2>&1) ||
    fail "the installed program does not find its demo clean (see $artifacts/check.log)"

# --- the installed program plays the installed demo -------------------------------------------

start_xvfb
player=/usr/bin/tsukikage
start_player ""
keep_shot lettering
poll "$step_timeout" "the title caption appears about three seconds after the start" title_shown
keep_shot title
# The installed demo is the package's: the player is told once where their records go.
expect_box 記録の保存先 records-box "the first start on the installed demo"
click_image 1
poll "$step_timeout" "the new-game image shows red text and the advance marker" \
    first_page_shown
keep_shot page
shown=$label
click_marker "a click on the advance marker shows the next page"
[[ $outcome == page ]] || fail "a click on the advance marker led to $outcome, not a page"
keep_shot next-page
close_player
[[ ! -e /usr/share/tsukikage/demo/endlist.dat && ! -e /usr/share/tsukikage/demo/save1.dat ]] ||
    fail "the program wrote a record into the installed demo"

# --- purged -----------------------------------------------------------------------------------

files=$(dpkg -L tsukikage | while IFS= read -r name; do [[ -d $name ]] || echo "$name"; done)
apt-get purge -y -q tsukikage >"$artifacts/apt-purge.log" 2>&1 ||
    fail "apt could not purge the package (see $artifacts/apt-purge.log)"
installed=false
while IFS= read -r name; do
    [[ ! -e $name ]] || fail "purging left $name behind"
done <<<"$files"
for folder in /usr/share/tsukikage /usr/share/doc/tsukikage; do
    [[ ! -e $folder ]] || fail "purging left $folder behind"
done
say "PASS"
