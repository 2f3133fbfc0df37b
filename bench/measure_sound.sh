#!/usr/bin/env bash
# Measures the player's sound from outside, on an Xvfb of its own, for one SDL audio driver:
#   CPU (% of one core, /proc utime+stime over 10 s) while the reader waits for a click,
#     with an effect played and no music, and with the looping demo theme;
#   CPU of SDL2_mixer alone looping the same theme (bench/sound_probe play), side by side;
#   with the disk driver, the silence added between two passes of the looping theme.
#
# usage: bench/measure_sound.sh [--driver dummy|disk] [--display :N]
# env:   BUILD_DIR (default: build beside this folder)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$here/../build}
player=$build_dir/demo/tsukikage
probe=$build_dir/bench/sound_probe
driver=dummy
display=:97
while [[ $# -gt 0 ]]; do
    case $1 in
        --driver) driver=$2; shift 2 ;;
        --display) display=$2; shift 2 ;;
        *) echo "usage: $0 [--driver dummy|disk] [--display :N]" >&2; exit 2 ;;
    esac
done
[[ -x $player && -x $probe ]] || { echo "measure_sound: build the player and sound_probe first" >&2; exit 1; }

work=$(mktemp -d /tmp/measure-sound.XXXXXX)
mkdir -m 700 "$work/xdg"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# An X server already answering on the display is used as it is.
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
fi
export DISPLAY=$display XDG_RUNTIME_DIR=$work/xdg SDL_AUDIODRIVER=$driver

cpu_percent() {  # pid seconds
    local t1 t2 hz
    hz=$(getconf CLK_TCK)
    t1=$(awk '{print $14+$15}' "/proc/$1/stat")
    sleep "$2"
    t2=$(awk '{print $14+$15}' "/proc/$1/stat")
    echo "scale=2; ($t2-$t1)*100/($hz*$2)" | bc
}

# Starts the player on a game folder and begins a new game from the title; sets $pid.
start_game() {  # game-folder recording
    SDL_DISKAUDIOFILE=$2 "$player" "$1" >/dev/null 2>&1 &
    pid=$!
    pids+=($pid)
    local window=""
    for _ in $(seq 50); do
        window=$(xdotool search --pid "$pid" 2>/dev/null | head -1 || true)
        [[ -n $window ]] && break
        sleep 0.1
    done
    # The title screen follows the opening lettering; its first title image starts a new game.
    sleep 4.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 531)) $((Y + 19 + 287)) click 1
    # Where the game's own music starts in the recording, after the title's.
    started_at=$(stat -c %s "$2" 2>/dev/null || echo 0)
    sleep 1
    advance="xdotool mousemove $((X + 616)) $((Y + 19 + 568)) click 1"
}

# An effect and no music.
cp -r "$build_dir/demo/." "$work/quiet"
printf '.\r\n.v se\\chime.wav\r\nquiet\r\n.\r\n' >"$work/quiet/datafile"
start_game "$work/quiet" "$work/quiet.raw"
$advance
sleep 3
echo "no music, effect played:  $(cpu_percent "$pid" 10) % of one core"
kill "$pid"

# The looping theme, then the reference side by side.
start_game "$build_dir/demo" "$work/loop.raw"
loop_started_at=$started_at
sleep 3
echo "looping MIDI theme:       $(cpu_percent "$pid" 10) % of one core"
SDL_DISKAUDIOFILE=$work/probe.raw "$probe" play "$build_dir/demo/midi/theme.mid" 42 >/dev/null 2>&1 &
reference=$!
pids+=($reference)
sleep 3
echo "SDL2_mixer alone:         $(cpu_percent "$reference" 10) % of one core"
wait "$reference" || true  # meanwhile the player loops its theme twice

if [[ $driver == disk ]]; then
    kill "$pid"
    echo -n "player restart:           "
    tail -c +$((loop_started_at / 4 * 4 + 1)) "$work/loop.raw" >"$work/loop-page.raw"
    "$probe" gap "$work/loop-page.raw" 18190 || true
    echo -n "SDL2_mixer's own looping: "
    "$probe" gap "$work/probe.raw" 18190 || true
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/quiet.raw" -n stats 2>&1 |
        awk '/RMS lev dB/ {print "effect recording RMS dB:  " $4}'
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/loop.raw" -n stats 2>&1 |
        awk '/RMS lev dB/ {print "theme recording RMS dB:   " $4}'
else
    kill "$pid"
fi
