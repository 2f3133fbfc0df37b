#!/usr/bin/env bash
# A scenario whose jump comes back to its own label with no line between that waits, in the
# real player window on an Xvfb of its own: the click that reaches the loop brings up the
# "ファイルエラー" box at once (the window keeps painting behind it), and once the box is
# closed the program ends with status 1, not 0, so a launcher can tell it from a quit. The
# scenario checker reports the loop's jump first.
#
# usage: tests/e2e/endless_jump.sh BUILD_DIR
#
# Screenshots and logs stay in BUILD_DIR/e2e-artifacts-endless-jump/. Exits 77 (skipped) when
# a tool it needs is missing.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_begin endless_jump "$1" e2e-artifacts-endless-jump 60 iconv

start_xvfb
make_game "$work/game"
# The demo's folder with a scenario of its own: a first page, then the loop.
printf '%s\r\n' "ループの前のページ" "." ".L" "文" ".j L" | iconv -f UTF-8 -t CP932 \
    >"$work/game/datafile"
# The checker tells of the loop before any player meets it.
check_status=0
report=$("$player" --check "$work/game" 2>&1) || check_status=$?
(( check_status == 1 )) || fail "the check ended with status $check_status, not 1: $report"
grep -q '^datafile:5: ' <<<"$report" || fail "the check does not report the loop's jump: $report"
say "the check reports: $(grep '^datafile:5: ' <<<"$report")"

start_player "$work/game"

poll "$step_timeout" "the title caption appears" title_shown
click_image 1
poll "$step_timeout" "the new-game image shows the first page" first_page_shown
keep_shot first-page

clicked=$(now_ms)
click_canvas "${marker_centre[@]}"
expect_box ファイルエラー out-of-stack-box "the click into the loop"
say "the box came up and closed $(( $(now_ms) - clicked )) ms after the click"
expect_end 1 "the file error box was closed"
say "PASS"
