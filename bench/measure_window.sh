#!/usr/bin/env bash
# Measures the built player as a whole, from outside, on an Xvfb of its own:
#   launch-to-first-paint (ms), resident memory while waiting for a click (MiB),
#   the title's おわり to the process gone (ms),
#   click-to-next-page (ms, median over the timed clicks of all runs);
#   then, on a copy of the demo whose pages alternate between text only and a new MIDI piece,
#   click-to-page for the text pages beside the music pages (medians; the first piece of each
#   run apart, as it may wait for the soundfont); and click-to-paint through the longest
#   stretches one click reads (a million continuing commands, a page of 10,000 lines).
#
# usage: bench/measure_window.sh [--runs N] [--clicks N] [--verbose]
# env:   BUILD_DIR (default: build beside this folder)
#
# Needs Xvfb and a build with window_probe (libxdamage-dev, libxtst-dev; see scripts/install-deps).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$here/../build}
probe=$build_dir/bench/window_probe
player=$build_dir/demo/tsukikage

runs=5
clicks=5
verbose=()
while [[ $# -gt 0 ]]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --clicks) clicks=$2; shift 2 ;;
        --verbose) verbose=(--verbose); shift ;;
        *) echo "usage: $0 [--runs N] [--clicks N] [--verbose]" >&2; exit 2 ;;
    esac
done

[[ -x $probe ]] || { echo "measure_window: no $probe (build with the X11 DAMAGE and XTEST headers)" >&2; exit 1; }
[[ -x $player ]] || { echo "measure_window: no $player (build the player first)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "measure_window: Xvfb is not installed" >&2; exit 1; }

# Where to click, in the window's client area (its top left is the menu bar's top left).
# Found on screenshots of the player under this Xvfb: the menu bar is 19 pixels high; the title
# screen's first title image starts a new game. The title shows after the opening lettering,
# so the probe waits for 4 s without drawing before its first click.
menu_bar_height=19
canvas_height=601
new_game_image="531,$((287 + menu_bar_height))"
marker="616,$((568 + menu_bar_height))"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
source "$here/own_display.sh"
start_own_display measure_window "$work/xvfb.log"

mkdir -m 700 "$work/runtime"
steps=(--click "$new_game_image")
for _ in $(seq "$clicks"); do steps+=(--time-click "$marker"); done

status=0
DISPLAY=:$display_number SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime \
    "$probe" --runs "$runs" --settle 700 --idle 4000 "${verbose[@]}" "${steps[@]}" -- "$player" \
    | tee "$work/probe.txt" || status=$?
[[ $status -eq 0 ]] || echo "measure_window: window_probe reported a failed run" >&2

# Quitting: the title's last image (おわり), while the title's wave theme plays, to the
# process gone.
quit_image="531,$((287 + 5 * 32 + menu_bar_height))"
DISPLAY=:$display_number SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime \
    "$probe" --runs "$runs" --settle 300 --idle 4000 --quit-click "$quit_image" -- "$player" \
    | awk '$1 == "quit_ms" { print "quit (おわり) to the process gone: " $0 }' ||
    echo "measure_window: window_probe reported a failed run (quit)" >&2

# The floor under the first paint: a bare Qt window with a menu bar and a line of Japanese.
floor=$build_dir/bench/qt_floor
if [[ -x $floor ]]; then
    DISPLAY=:$display_number XDG_RUNTIME_DIR=$work/runtime \
        "$probe" --runs "$runs" --settle 300 --idle 1000 --name floor -- "$floor" floor \
        | awk '$1 == "first_paint_ms" { print "bare Qt window: " $0 }' ||
        echo "measure_window: window_probe reported a failed run (bare Qt window)" >&2
fi

expected="662x$((canvas_height + menu_bar_height))"
if grep -q '^run ' "$work/probe.txt" && grep '^run ' "$work/probe.txt" | grep -vq "window=$expected "; then
    echo "measure_window: the window is not $expected: the click positions above may be off" >&2
fi

median() { awk -v name="$1" '$1 == name { for (i = 2; i <= NF; ++i) if ($i ~ /^median=/) { sub(/^median=/, "", $i); print $i } }' "$work/probe.txt"; }

# The alternating game: every odd click opens a piece (theme and dawn in turn), every even
# click adds a line of text only.
music=$work/music-game
cp -r "$(dirname "$player")/." "$music"
{
    printf '.l Data\\window.bmp\r\nfirst page\r\n.\r\n'
    for i in $(seq "$clicks"); do
        piece=theme
        [[ $((i % 2)) -eq 0 ]] && piece=dawn
        printf 'music page %d\r\n.y midi\\%s.mid\r\ntext page %d\r\n.\r\n' "$i" "$piece" "$i"
    done
} >"$music/datafile"
music_steps=(--click "$new_game_image")
for _ in $(seq $((clicks * 2))); do music_steps+=(--time-click "$marker"); done
DISPLAY=:$display_number SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime \
    "$probe" --runs "$runs" --settle 700 --idle 4000 "${verbose[@]}" "${music_steps[@]}" -- "$player" "$music" \
    >"$work/music.txt" || echo "measure_window: window_probe reported a failed run (music game)" >&2
# Per run "click_ms=a,b,c,...": odd places are music pages, the first of them the first piece.
read -r first_piece music_page text_page < <(awk '
    function median(list, n,   i, j, t) {
        for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (list[j] < list[i]) { t = list[i]; list[i] = list[j]; list[j] = t }
        return n == 0 ? "?" : (n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2)
    }
    $1 == "run" { for (i = 2; i <= NF; ++i) if ($i ~ /^click_ms=/) {
        sub(/^click_ms=/, "", $i); k = split($i, c, ",")
        for (j = 1; j <= k; ++j) {
            if (j == 1) first[++nf] = c[j]
            else if (j % 2) music[++nm] = c[j]
            else text[++nt] = c[j]
        }
    } }
    END { print median(first, nf), median(music, nm), median(text, nt) }' "$work/music.txt")
# The longest stretches one click reads: a million continuing commands, and a page of 10,000
# text lines (about 500 KB); the window answers nothing until the page is painted.
long_stretch_ms() {  # SCENARIO_WRITER: the median click-to-paint over the runs
    local game=$work/long-game
    rm -rf "$game"
    cp -r "$(dirname "$player")/." "$game"
    "$1" >"$game/datafile"
    DISPLAY=:$display_number SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime \
        "$probe" --runs "$runs" --settle 700 --idle 4000 --click "$new_game_image" \
        --time-click "$marker" -- "$player" "$game" >"$work/long.txt" ||
        echo "measure_window: window_probe reported a failed run (long stretch)" >&2
    awk '$1 == "click_ms" { for (i = 2; i <= NF; ++i) if ($i ~ /^median=/) { sub(/^median=/, "", $i); print $i } }' "$work/long.txt"
}
million_commands() {
    printf 'first page\r\n.\r\n'
    yes '.z' | head -n 1000000 | sed 's/$/\r/'
    printf 'after a million commands\r\n.\r\n'
}
long_page() {
    printf 'first page\r\n.\r\n'
    yes 'a line of the long page, about fifty bytes long ....' | head -n 10000 | sed 's/$/\r/'
    printf '.\r\n'
}
million_ms=$(long_stretch_ms million_commands)
long_page_ms=$(long_stretch_ms long_page)

paint=$(median first_paint_ms)
resident=$(median ready_rss_mib)
page=$(median click_ms)
if [[ -z $paint || -z $resident || -z $page ]]; then
    echo "measure_window: some numbers are missing (see above)" >&2
    exit 1
fi
echo
echo "launch to first paint:        $paint ms"
echo "resident, waiting for click:  $resident MiB"
echo "click to next page:           $page ms"
echo "click to a text page:         $text_page ms  (alternating game)"
echo "click to a music page:        $music_page ms  (first piece: $first_piece ms)"
echo "click through 1,000,000 commands: $million_ms ms"
echo "click to a page of 10,000 lines:  $long_page_ms ms"
