#!/usr/bin/env bash
# Saves and loads in the real player window, on an Xvfb of its own, with four starts of the
# player on one fresh demo game:
#   1. a new game read to its first choice is saved into slot 3 by the menu (システム, セーブ,
#      セーブ３): save3.dat holds the printed part number, " N " CR LF, and nothing else changed;
#   2. the title's load image, then the load screen's third image, shows the same two captions
#      over the same screen, and the second one turns to its page; the fifth image, an empty
#      slot, brings up the "ロードエラー" box and leaves the load screen as it was;
#   3. the load screen's back image leads to a title with the menu enabled (the first title has
#      it disabled); the menu's ロード５ reports the empty slot, ロード３ shows the same
#      captions, and the first one turns to its page;
#   4. with no file allowed to grow beyond 3 bytes, the menu's セーブ３ on that title brings up
#      the "セーブエラー" box; save3.dat keeps its bytes (the very same file) and no temporary
#      file stays behind; after Return the title is as it was and slot 3 still loads.
# Each start ends by closing the window, and the player must end with status 0.
#
# usage: tests/e2e/save_load.sh BUILD_DIR
#
# Screenshots and logs of the last run stay in BUILD_DIR/e2e-artifacts-save-load/. Exits 77
# (skipped) when a tool it needs is missing: those of play_demo.sh and prlimit.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
# The whole run's budget, below CTest's TIMEOUT (120 s).
e2e_begin save_load "$1" e2e-artifacts-save-load 100 prlimit

max_clicks=20         # the first choice comes after half a dozen pages
system_menu_title=(30 9)                 # "システム" on the menu bar
system_menu_caption=52x14+8+2            # its caption's letters
system_menu_rows=4    # ニューゲーム, セーブ, ロード, おわり
slot_menu_rows=5      # the five slots
save_row=2
load_row=3

# --- what the window shows ----------------------------------------------------------------------

# The digests below read the last look ($work/shot.png).
canvas_digest() {
    convert "$work/shot.png" -crop "662x601+0+$menu_bar" +repage rgb:- | md5sum
}

images_digest() {  # the pictures of the six title images: title and load screen differ
    local n
    for n in 1 2 3 4 5 6; do
        convert "$work/shot.png" -crop "$(title_image_rect "$n")" +repage rgb:-
    done | md5sum
}

# Which pixels of the label area are the text's red: the captions' letters, whatever picture
# stands behind the message area.
captions_digest() {
    convert "$work/shot.png" -crop "$label_area" +repage \
        -fx "r >= ${text_red[0]}/255 && g <= ${text_red[3]}/255 && b <= ${text_red[5]}/255" \
        -depth 1 gray:- | md5sum
}

system_menu_enabled() {  # its caption's letters are dark; a disabled menu greys them
    local dark
    dark=$(convert "$work/shot.png" -crop "$system_menu_caption" +repage -colorspace Gray \
        -threshold 40% -format '%[fx:round((1 - mean) * w * h)]' info:)
    (( dark >= 20 ))
}

choice_shown() {
    look_at_window &&
        (( text >= min_text_pixels && choice >= min_marker_pixels && marker == 0 ))
}

load_screen_shown() { look_at_window && [[ $(images_digest) != "$title_images" ]]; }

title_layout_shown() { look_at_window && [[ $(images_digest) == "$title_images" ]]; }

canvas_is() { look_at_window && [[ $(canvas_digest) == "$1" ]]; }

# --- the menus --------------------------------------------------------------------------------

# new_popup EXCEPT: a mapped window of the player besides the main one and EXCEPT (a menu's
# popup); sets popup.
new_popup() {
    local id
    for id in $(other_windows); do
        [[ $id == "$1" ]] && continue
        popup=$id
        return 0
    done
    return 1
}

# click_row POPUP ROWS N: clicks the Nth of the popup's ROWS entries. A menu's entries are rows
# of one height that fill its popup.
click_row() {
    # shellcheck disable=SC2034  # the eval sets all six
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    (( HEIGHT % $2 == 0 )) ||
        fail "a menu of $2 entries is ${WIDTH}x$HEIGHT: its rows are not of one height"
    local row=$(( HEIGHT / $2 ))
    xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + row * ($3 - 1) + row / 2 )) click 1
}


# menu_pick ROW SLOT: opens システム, its ROWth entry (セーブ or ロード) and that submenu's
# entry of the slot.
menu_pick() {
    local what="システム, entry $1, slot $2"
    [[ -z $(other_windows) ]] || fail "a window is open before the menu $what is used"
    click "${system_menu_title[@]}"
    poll "$step_timeout" "the menu システム opens" new_popup ""
    local system_popup=$popup
    click_row "$system_popup" "$system_menu_rows" "$1"
    poll "$step_timeout" "the menu $what opens its submenu" new_popup "$system_popup"
    click_row "$popup" "$slot_menu_rows" "$2"
    poll "$step_timeout" "the menus close after $what" gone "$system_popup" "$popup"
}


# --- the game folder --------------------------------------------------------------------------

game=$work/game
slot3=$game/save3.dat

listing() { (cd "$game" && LC_ALL=C ls -A); }

file_id() { stat -c '%d:%i %s' "$1"; }  # which file it is, and its size

slot3_bytes() { od -An -tx1 "$slot3" | tr -d ' \n'; }  # in hex

start_to_title() {  # [FILE_SIZE_LIMIT]
    start_player "$game" "$@"
    poll "$step_timeout" "the title caption appears about three seconds after the start" \
        title_shown
    seen=$(now_ms)
}

open_load_screen() {
    click_image 2
    poll "$step_timeout" "the load image shows the load screen" load_screen_shown
    seen=$(now_ms)
}

back_to_title() {  # from the load screen: a title laid out with the menu enabled
    click_image 6
    poll "$step_timeout" "the back image shows the title images" title_layout_shown
    seen=$(now_ms)
    system_menu_enabled || fail "the title reached from the load screen has the menu disabled"
}

# same_choice_shown WHAT: the first choice's captions, as run 1 saw them
same_choice_shown() {
    poll "$step_timeout" "$1 shows two captions and their markers" choice_shown
    seen=$(now_ms)
    [[ $(captions_digest) == "$saved_captions" ]] ||
        fail "$1 shows other captions than those of the choice that was saved"
    # The part marker sets the window and the scene's picture again: not the loading picture.
    [[ $(canvas_digest) == "$choice_screen" ]] ||
        fail "$1 shows the choice over another screen than the one saved"
    no_box "after $1"
}

# caption_turns_page CAPTION NAME: a click on the caption (first_choice or second_choice) shows a
# page, kept as NAME.
caption_turns_page() {
    local -n centre=$1
    local what="the loaded choice's ${1%_choice} caption"
    shown=$label
    click_choice "${centre[@]}" "a click on $what shows its page"
    [[ $outcome == page ]] || fail "$what led to $outcome, not a page"
    keep_shot "$2"
}

start_xvfb
make_game "$game"

# --- run 1: reading to the first choice and saving it into slot 3 -----------------------------

start_to_title
keep_shot first-title
! system_menu_enabled || fail "the menu システム is enabled on the first title"
title_images=$(images_digest)
before_save=$(listing)

click_image 1
poll "$step_timeout" "the new-game image shows red text and the advance marker" \
    first_page_shown
seen=$(now_ms)
keep_shot first-page
shown=$label
outcome=
for ((clicks = 1; clicks <= max_clicks; ++clicks)); do
    click_marker "click $clicks on the advance marker shows a page or the first choice"
    [[ $outcome != end ]] || fail "the game ended before it offered a choice"
    [[ $outcome != choice ]] || break
done
[[ $outcome == choice ]] || fail "no choice after $max_clicks clicks on the advance marker"
keep_shot choice
saved_captions=$(captions_digest)
choice_screen=$(canvas_digest)
say "run 1: the first choice after $clicks clicks"

[[ ! -e $slot3 ]] || fail "the fresh game already has save3.dat"
menu_pick "$save_row" 3
poll "$step_timeout" "セーブ３ writes save3.dat" test -s "$slot3"
saved_bytes=$(slot3_bytes)
[[ $saved_bytes =~ ^20(3[0-9])+200d0a$ ]] ||
    fail "save3.dat is not a number printed with its blanks and CR LF: $(od -An -c "$slot3")"
part=$(tr -d ' \r\n' <"$slot3")
(( part > 0 )) ||
    fail "save3.dat holds part $part: the game's first choice stands behind a part marker"
[[ $(listing) == "$(printf '%s\nsave3.dat' "$before_save" | LC_ALL=C sort)" ]] ||
    fail "saving slot 3 changed more files than save3.dat: $(listing | tr '\n' ' ')"
no_box "after saving"
poll "$step_timeout" "the choice is still shown after saving" canvas_is "$choice_screen"
keep_shot saved
say "run 1: save3.dat holds part $part"
close_player

# --- run 2: the load screen -------------------------------------------------------------------

start_to_title
open_load_screen
keep_shot load-screen
load_screen=$(canvas_digest)

click_image 5
expect_box ロードエラー empty-slot-5-box "the load screen's fifth image (an empty slot)"
poll "$step_timeout" "the load screen is as it was after the box" canvas_is "$load_screen"
keep_shot load-screen-after-box

click_image 3
same_choice_shown "the load screen's third image"
keep_shot loaded-by-image
caption_turns_page second_choice second-caption-page
say "run 2: slot 3 loaded from the load screen, its second caption turns the page"
close_player

# --- run 3: the menu on a title reached from the load screen -----------------------------------

start_to_title
open_load_screen
back_to_title
keep_shot title-from-load-screen
title_screen=$(canvas_digest)

menu_pick "$load_row" 5
expect_box ロードエラー menu-empty-slot-5-box "the menu's ロード５ (an empty slot)"
poll "$step_timeout" "the title is as it was after the box" canvas_is "$title_screen"

menu_pick "$load_row" 3
same_choice_shown "the menu's ロード３"
keep_shot loaded-by-menu
caption_turns_page first_choice first-caption-page
say "run 3: slot 3 loaded by the menu, its first caption turns the page"
close_player

# --- run 4: a save that cannot be written -----------------------------------------------------

# On the title no game has set a part yet: a save that went through would write part 0.
slot3_file=$(file_id "$slot3")
before_save=$(listing)
start_to_title 3
open_load_screen
back_to_title
title_screen=$(canvas_digest)

menu_pick "$save_row" 3
expect_box セーブエラー save-error-box "セーブ３ with no room for the file"
[[ $(slot3_bytes) == "$saved_bytes" && $(file_id "$slot3") == "$slot3_file" ]] ||
    fail "the failed save changed save3.dat: $(od -An -c "$slot3")"
[[ $(listing) == "$before_save" ]] ||
    fail "the failed save left files behind: $(listing | tr '\n' ' ')"
poll "$step_timeout" "the title is as it was after the box" canvas_is "$title_screen"
keep_shot title-after-save-error

menu_pick "$load_row" 3
same_choice_shown "the menu's ロード３ after the failed save"
say "run 4: the failed save was reported and slot 3 kept part $part"
close_player

say "PASS"
