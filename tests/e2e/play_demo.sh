#!/usr/bin/env bash
# Plays the built demo game in the real player window, on an Xvfb of its own, as a player would:
# the window comes up with the lettering and the title images about three seconds later; the
# new-game image shows the first page in red; clicking the advance marker turns the pages
# (taking the first choice wherever the game offers two) until the scenario's end hides the
# marker and brings the title back; closing the window then ends the
# program with status 0, and no message box came up on the way.
#
# The game is a fresh demo written by the build's generator into a folder of the test's own and
# given to the player as its argument: what a run records there (endings seen, saves) neither
# comes from earlier plays nor stays in BUILD_DIR/demo.
#
# usage: tests/e2e/play_demo.sh BUILD_DIR
#
# Screenshots and logs of the last run stay in BUILD_DIR/e2e-artifacts/. Exits 77 (skipped)
# when a tool it needs is missing. Needs Xvfb, xdotool, ImageMagick's import and convert, and
# the close helper built with the tests (BUILD_DIR/tests/e2e_request_close).
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
# The whole run's budget, below CTest's TIMEOUT (120 s).
e2e_begin play_demo "$1" e2e-artifacts 100

max_clicks=60         # the demo has a dozen or two pages

start_xvfb
make_game "$work/game"
start_player "$work/game"

# --- start-up: the lettering, then the title screen --------------------------------------------

keep_shot lettering
(( marker == 0 )) || fail "the advance marker is shown before a game has started"
poll "$step_timeout" "the title caption appears about three seconds after the start" title_shown
keep_shot title

# --- the new-game title image: the first page --------------------------------------------------

click_image 1
poll "$step_timeout" "the new-game image shows red text and the advance marker" \
    first_page_shown
seen=$(now_ms)
keep_shot page
say "first page shown"

# --- reading to the end -----------------------------------------------------------------------

# At a choice the first caption is clicked next.
shown=$label
pages=1
choices=0
outcome=
for ((clicks = 1; clicks <= max_clicks; ++clicks)); do
    if [[ $outcome != choice ]]; then
        what="click $clicks, on the advance marker after page $pages"
        click_marker "$what, shows a page, choices or the end"
    else
        click_choice "${first_choice[@]}" "click $clicks, on the first of two choices, shows a page"
    fi
    keep_shot "$outcome"
    case $outcome in
        page) pages=$((pages + 1)) ;;
        choice) choices=$((choices + 1)) ;;
        end) break ;;
    esac
done
[[ $outcome == end ]] ||
    fail "the scenario has not ended after $max_clicks clicks (last seen: $outcome)"
(( pages >= 2 )) || fail "the first click on the advance marker ended the game, no second page"
say "$pages pages and $choices choices, then the end hid the advance marker ($clicks clicks)"

# A message box (a scenario or file error) would be a window of its own.
others=$(other_windows)
[[ -z $others ]] ||
    fail "another window of the player is open at the end (a message box?): $(for id in $others; do
        xdotool getwindowname "$id"; done | tr '\n' ' ')"

# --- closing the window -----------------------------------------------------------------------

close_player
say "PASS"
