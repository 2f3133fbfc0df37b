#!/usr/bin/env bash
# Where the desktop player's memory and CPU go while a page waits for a click, measured from
# outside on an Xvfb of its own, with the disk audio driver (the sound is mixed as on a real
# device, into a file):
#   - a budget of the resident memory by part (Qt, fonts, ICU, audio libraries, X11, the C and
#     C++ runtime, the program, the heap, anonymous memory), private and file-backed, and the
#     peak, from /proc/PID/smaps and status;
#   - the share of a core the process takes over a quiet stretch, by thread;
# on the demo's first page (a looping MIDI piece) and on a page without music. Prints numbers
# and never fails on them.
#
# usage: bench/measure_budget.sh [--runs N] [--seconds S]
# env:   BUILD_DIR (default: build beside this folder)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$here/../build}
player=$build_dir/demo/tsukikage
runs=3
seconds=10
while [[ $# -gt 0 ]]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        *) echo "usage: $0 [--runs N] [--seconds S]" >&2; exit 2 ;;
    esac
done
[[ -x $player ]] || { echo "measure_budget: no $player (build the player first)" >&2; exit 1; }
for tool in Xvfb xdotool python3; do
    command -v "$tool" >/dev/null || { echo "measure_budget: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
player_pid=
cleanup() {
    [[ -n $player_pid ]] && kill "$player_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
source "$here/own_display.sh"
start_own_display measure_budget "$work/xvfb.log"
export DISPLAY=:$display_number
mkdir -m 700 "$work/runtime" "$work/home"

# The demo, and a copy whose first page has no music.
cp -r "$(dirname "$player")/." "$work/music"
cp -r "$(dirname "$player")/." "$work/quiet"
printf '.l Data\\window.bmp\r\n.c 1\r\nA page without music.\r\n.\r\n' >"$work/quiet/datafile"

# One run: the player started on GAME, past the title to the first page, then measured.
measure() {  # GAME LABEL
    local game=$1 label=$2
    HOME=$work/home XDG_RUNTIME_DIR=$work/runtime SDL_AUDIODRIVER=disk \
        SDL_DISKAUDIOFILE=$work/audio.raw "$player" "$game" 2>/dev/null &
    player_pid=$!
    local window=
    for _ in $(seq 200); do
        window=$(xdotool search --pid "$player_pid" --onlyvisible 2>/dev/null | head -n 1) && [[ -n $window ]] && break
        sleep 0.05
    done
    [[ -n $window ]] || { echo "measure_budget: no window" >&2; return 1; }
    # The title comes after the opening lettering; its first image starts a new game.
    sleep 6
    xdotool mousemove --window "$window" 531 306 click 1
    sleep 6
    python3 "$here/budget.py" "$player_pid" "$seconds" "$label"
    kill "$player_pid"
    wait "$player_pid" 2>/dev/null || true
    player_pid=
}

for run in $(seq "$runs"); do
    measure "$work/music" "music run $run"
    measure "$work/quiet" "quiet run $run"
done
