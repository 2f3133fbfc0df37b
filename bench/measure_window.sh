#!/usr/bin/env bash
# Measures the built player as a whole, from outside, on an Xvfb of its own:
#   launch-to-first-paint (ms), resident memory while waiting for a click (MiB),
#   click-to-next-page (ms, median over the timed clicks of all runs).
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
# Found on screenshots of the player under this Xvfb: the menu bar is 19 pixels high, the
# "システム" menu title sits at its left end and "ニューゲーム" is the first item of its menu.
menu_bar_height=19
canvas_height=601
system_menu=33,9
new_game_item=70,29
marker="616,$((568 + menu_bar_height))"

# A display of our own, from :97 up.
display_number=97
while [[ -e /tmp/.X$display_number-lock || -e /tmp/.X11-unix/X$display_number ]]; do
    display_number=$((display_number + 1))
    [[ $display_number -lt 140 ]] || { echo "measure_window: no free X display" >&2; exit 1; }
done

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

Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -S /tmp/.X11-unix/X$display_number ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[[ -S /tmp/.X11-unix/X$display_number ]] || { echo "measure_window: Xvfb did not start" >&2; exit 1; }

mkdir -m 700 "$work/runtime"
steps=(--click "$system_menu" --click "$new_game_item")
for _ in $(seq "$clicks"); do steps+=(--time-click "$marker"); done

status=0
DISPLAY=:$display_number SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime \
    "$probe" --runs "$runs" --settle 300 "${verbose[@]}" "${steps[@]}" -- "$player" \
    | tee "$work/probe.txt" || status=$?
[[ $status -eq 0 ]] || echo "measure_window: window_probe reported a failed run" >&2

expected="662x$((canvas_height + menu_bar_height))"
if grep -q '^run ' "$work/probe.txt" && grep '^run ' "$work/probe.txt" | grep -vq "window=$expected "; then
    echo "measure_window: the window is not $expected: the click positions above may be off" >&2
fi

median() { awk -v name="$1" '$1 == name { for (i = 2; i <= NF; ++i) if ($i ~ /^median=/) { sub(/^median=/, "", $i); print $i } }' "$work/probe.txt"; }
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
