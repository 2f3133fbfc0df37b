#!/usr/bin/env bash
# Self-voicing on the desktop, heard through a speech-dispatcher of the run's own whose one
# voice writes what it is asked to say into a file ("say TEXT", then "done" once the text has
# been "spoken" for a while; a cancelled text never gets its "done").
#
# First run: V on the title turns self-voicing on and says so; a new game reads its pages in
# the scenario's order, a click cuts the page being read off, and the first choice is read
# with its numbers. Second run: the setting was kept; Control
# skips the pages read before without a word, and the choice it stops at is read once it is
# released. Third run: with no speech-dispatcher to reach, V leaves one line on the terminal
# and the game plays on.
#
# usage: tests/e2e/self_voicing.sh BUILD_DIR
#
# Logs stay in BUILD_DIR/e2e-voicing-artifacts/. Exits 77 (skipped) when a tool it needs is
# missing.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_begin self_voicing "$1" e2e-voicing-artifacts 160 speech-dispatcher

module_dir=/usr/lib/speech-dispatcher-modules
[[ -x $module_dir/sd_generic ]] || {
    say "SKIPPED: $module_dir/sd_generic is missing (scripts/install-deps installs it)" >&2
    exit 77
}

said=$artifacts/said.txt
socket=$work/speechd.sock
daemon_pid=

stop_daemon() {
    if [[ -n $daemon_pid ]]; then stop "$daemon_pid"; fi
    daemon_pid=
}
trap 'stop_daemon; cleanup' EXIT

# A speech-dispatcher that knows one voice, Japanese, which "speaks" each text for 5 s (longer
# than a picture transition) into $said. The generic module quotes the text for single quotes.
start_daemon() {
    mkdir -p "$work/speechd/modules" "$work/speechd-log"
    cat >"$work/speechd/speechd.conf" <<CONF
LogLevel 3
AudioOutputMethod "libao"
AddModule "recorder" "sd_generic" "recorder.conf"
DefaultModule recorder
DefaultLanguage "ja"
CONF
    cat >"$work/speechd/modules/recorder.conf" <<CONF
GenericExecuteSynth "printf 'say %s\\\\n' '\$DATA' >> $said; sleep 5; printf 'done\\\\n' >> $said"
GenericCmdDependency "printf"
AddVoice "ja" "MALE1" "ja"
GenericLanguage "ja" "ja" "utf-8"
CONF
    cp "$work/speechd/modules/recorder.conf" "$artifacts/"
    : >"$said"
    speech-dispatcher -s -t 100 -C "$work/speechd" -m "$module_dir" -c unix_socket -S "$socket" \
        -L "$work/speechd-log" >"$artifacts/speechd.log" 2>&1 &
    daemon_pid=$!
    poll 10 "speech-dispatcher opens its socket" test -S "$socket"
}

said_lines() { grep -c '^say ' "$said" || true; }
said_count_is() { (( $(said_lines) >= $1 )); }
last_said() { grep '^say ' "$said" | tail -n 1; }
finished() { [[ $(tail -n 1 "$said") == done ]]; }

# Every page of the first part, in this order, starts with one of these.
page_starts=(月の明るい夜だった。 板張りの床は 風が渡るたび 眠ろうとして ふと、背後の 「眠れないのかい」)
first_choice="1、「月が明るすぎて」と答える。2、黙って首を横に振る。"

export SPEECHD_ADDRESS=unix_socket:$socket
# Never a daemon of the machine's: a missing one stays missing.
export SPEECHD_CMD=/bin/false

start_xvfb
start_daemon
make_game "$work/game"

# --- first run: V, a page cut off, the pages in order, the choice -----------------------------

start_player "$work/game"
poll "$step_timeout" "the title caption appears" title_shown
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers v
poll "$step_timeout" "V on the title says that self-voicing is on" said_count_is 1
[[ $(last_said) == "say 読み上げ オン" ]] || fail "V said \"$(last_said)\", not 読み上げ オン"

click_image 1
poll "$step_timeout" "a new game shows the first page" first_page_shown
shown=$label
seen=$(now_ms)
poll "$step_timeout" "the first page is read" said_count_is 2
[[ $(last_said) == "say ${page_starts[0]}"* ]] || fail "the first page read was \"$(last_said)\""

# Each page is read to its end before the next click, but the third: the click on it comes
# at once, and the fourth follows it with no picture transition in between, well within the
# time the voice takes.
cut=2
while [[ $(said_lines) -lt $(( ${#page_starts[@]} + 1 )) ]]; do
    count=$(said_lines)
    if (( count == cut + 2 )); then
        # One click, not repeated: a second one would turn the page after as well. It comes
        # once the voice is well into the page: speech-dispatcher's generic module may miss
        # a cancel that comes while it is still starting its command.
        sleep 1.5
        answering=marker
        click_canvas "${marker_centre[@]}"
        poll "$step_timeout" "a click turns page $((cut + 1))" look
        seen=$(now_ms)
    else
        poll "$step_timeout" "the page is read to its end" finished
        click_marker "a click turns the page"
    fi
    [[ $outcome == page ]] || fail "a choice or the end came after $count texts read"
    poll "$step_timeout" "the next page is read" said_count_is $(( count + 1 ))
done
line_after_cut=$(grep -A1 -F "say ${page_starts[cut]}" "$said" | sed -n 2p)
[[ $line_after_cut == "say ${page_starts[cut + 1]}"* ]] ||
    fail "the click did not cut page $((cut + 1)) off: \"$line_after_cut\" came after it"
say "the click cut page $((cut + 1)) off"
poll "$step_timeout" "the last page is read to its end" finished
click_marker "a click brings the choice"
[[ $outcome == choice ]] || fail "no choice after the part's pages"
poll "$step_timeout" "the choice is read" said_count_is $(( ${#page_starts[@]} + 2 ))
[[ $(last_said) == "say $first_choice" ]] || fail "the choice was read as \"$(last_said)\""

mapfile -t pages < <(grep '^say ' "$said" | sed -n "2,$(( ${#page_starts[@]} + 1 ))p")
for i in "${!page_starts[@]}"; do
    [[ ${pages[$i]} == "say ${page_starts[$i]}"* ]] ||
        fail "page $((i + 1)) was read as \"${pages[$i]}\", not starting ${page_starts[$i]}"
done
cp "$said" "$artifacts/said-first-run.txt"
say "${#page_starts[@]} pages read in order, then the choice with its numbers"
close_player

# --- second run: the setting kept, skip says nothing ------------------------------------------

# A daemon of its own for the run, with nothing of the first run's left in its queue.
stop_daemon
start_daemon
start_player "$work/game"
poll "$step_timeout" "the title caption appears" title_shown
click_image 1
poll "$step_timeout" "a new game shows the first page" first_page_shown
poll "$step_timeout" "the kept setting reads the first page" said_count_is 1
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool keydown Control_L
sleep 3
look_at_window || true
said_while_skipping=$(said_lines)
xdotool keyup Control_L
(( choice >= min_marker_pixels )) || fail "Control held for 3 s did not reach the first choice"
(( said_while_skipping == 1 )) ||
    fail "$(( said_while_skipping - 1 )) text(s) read while skipping: $(cat "$said")"
[[ $(grep -A1 -F "say ${page_starts[0]}" "$said" | sed -n 2p) != done ]] ||
    fail "the skip did not silence the first page"
poll "$step_timeout" "the choice is read once the skip is released" said_count_is 2
[[ $(last_said) == "say $first_choice" ]] || fail "after the skip, \"$(last_said)\" was read"
cp "$said" "$artifacts/said-second-run.txt"
say "nothing read while skipping; the choice read after it"
close_player
stop_daemon

# --- third run: no speech-dispatcher ----------------------------------------------------------

export SPEECHD_ADDRESS=unix_socket:$work/nothing-here.sock
start_player "$work/game"
poll "$step_timeout" "the title caption appears" title_shown
click_image 1
poll "$step_timeout" "a new game without speech-dispatcher shows the first page" first_page_shown
shown=$label
seen=$(now_ms)
click_marker "a click turns the page without speech-dispatcher"
[[ $outcome == page ]] || fail "the page did not turn without speech-dispatcher"
notes=$(grep -c 'speech-dispatcher' "$player_log" || true)
(( notes == 1 )) || fail "$notes lines about speech-dispatcher on the terminal, not one"
no_box "without speech-dispatcher"
close_player
say "without speech-dispatcher: one line on the terminal, and the game played on"
say "PASS"
