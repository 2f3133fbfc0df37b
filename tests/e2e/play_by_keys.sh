#!/usr/bin/env bash
# Plays the built demo game in the real player window with the keyboard alone, on an Xvfb of its
# own: Down and Return on the title screen start a new game; the menu bar's menu opened and closed
# with Escape leaves the keys with the game; Return turns the pages and 1 takes
# the first choice, up to the scenario's end and the title. A second game from the title is
# skipped with Control held through the pages read in the first, and the skip stops at the
# first choice. Page Up then opens the history over the page, and Escape closes it. Closing the
# window ends the program with status 0, and no message box came up on the way.
#
# usage: tests/e2e/play_by_keys.sh BUILD_DIR
#
# Screenshots and logs of the last run stay in BUILD_DIR/e2e-keys-artifacts/. Exits 77
# (skipped) when a tool it needs is missing.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_begin play_by_keys "$1" e2e-keys-artifacts 100

max_keys=60

press() {  # KEY...: to the player's window, which has the keyboard
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers "$@"
}

# Waits until `look` sees the outcome of a key: a page, a choice or the end.
popup_open() { [[ -n $(other_windows) ]]; }
popup_closed() { [[ -z $(other_windows) ]]; }

press_and_look() {  # KEY ANSWERING WHAT
    answering=$2
    press "$1"
    poll "$step_timeout" "$3" look
    seen=$(now_ms)
}

start_xvfb
make_game "$work/game"
start_player "$work/game"
poll "$step_timeout" "the title caption appears about three seconds after the start" title_shown

# --- a game by keys, to its end ---------------------------------------------------------------

press Down Return
# A new game chosen by a key asks first; Return answers yes.
expect_box 朧堂開発用プログラム new-game-question "Down and Return on the title"
# With no window manager the focus does not go back to the window by itself.
xdotool windowfocus --sync "$window" 2>/dev/null || true
poll "$step_timeout" "Down and Return on the title show the first page" first_page_shown
keep_shot first-page
shown=$label

# A menu closed with Escape gives the keys back to the game: Return turns the page and opens no
# menu (a second Return would have started a new game from it).
click 30 9  # "システム" on the menu bar
poll "$step_timeout" "a click on システム opens its menu" popup_open
press Escape
poll "$step_timeout" "Escape closes the menu システム" popup_closed
answering=marker
press Return
poll "$step_timeout" "Return after a menu closed with Escape turns the page" look
[[ $outcome == page && -z $(other_windows) ]] ||
    fail "Return after a menu closed with Escape did not turn the page, or opened a menu"
seen=$(now_ms)
say "a menu closed with Escape gave the keys back to the game"
pages=1
choices=0
outcome=page
for ((keys = 1; keys <= max_keys; ++keys)); do
    if [[ $outcome == choice ]]; then
        press_and_look 1 choice "key $keys, 1 at a choice, shows a page"
    else
        # A picture transition holds the page back: Return is pressed again until it turns.
        answering=marker
        for ((tries = 1; tries <= 4; ++tries)); do
            press Return
            answered_within 3 look && break
        done
        (( tries <= 4 )) || fail "key $keys: Return after page $pages changed nothing"
        seen=$(now_ms)
    fi
    case $outcome in
        page) pages=$((pages + 1)) ;;
        choice) choices=$((choices + 1)) ;;
        end) break ;;
    esac
done
[[ $outcome == end ]] || fail "the scenario has not ended after $max_keys keys"
(( choices >= 1 )) || fail "no choice was taken by key"
keep_shot end
say "$pages pages and $choices choices by keys, then the end"

# --- the second game: Control skips the read pages and stops at the first choice --------------

press Down Return
expect_box 朧堂開発用プログラム second-new-game-question "Down and Return on the title"
poll "$step_timeout" "a new game by keys shows the first page" first_page_shown
shown=$label
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool keydown Control_L
sleep 3
look_at_window || true
keep_shot skipping
xdotool keyup Control_L
look_at_window || true
(( choice >= min_marker_pixels )) || fail "Control held for 3 s did not reach the first choice"
keep_shot skipped-to-choice
say "Control skipped the read pages to the first choice"

# --- the history over the page -----------------------------------------------------------------

look_at_window
before=$(convert "$work/shot.png" -colorspace Gray -format '%[fx:mean]' info:)
press Prior
sleep 0.5
look_at_window || true
keep_shot history
after=$(convert "$work/shot.png" -colorspace Gray -format '%[fx:mean]' info:)
awk -v b="$before" -v a="$after" 'BEGIN { exit !(a < b * 0.8) }' ||
    fail "Page Up did not darken the window with the history ($before -> $after)"
press Escape
sleep 0.5
look_at_window || true
restored=$(convert "$work/shot.png" -colorspace Gray -format '%[fx:mean]' info:)
awk -v b="$before" -v r="$restored" 'BEGIN { d = b - r; exit !(d < 0.01 && d > -0.01) }' ||
    fail "Escape did not close the history ($before -> $restored)"
say "the history opened with Page Up and closed with Escape"

others=$(other_windows)
[[ -z $others ]] || fail "another window of the player is open at the end (a message box?)"
close_player
say "PASS"
