# shellcheck shell=bash
# Shared by the end-to-end scripts of this folder, which source it: an Xvfb of the run's own,
# the player started on a game folder and found by its window, looks at the window through
# ImageMagick, clicks through xdotool, and a failure that leaves its screenshots behind.
#
# A script calls e2e_begin first; everything else needs what it sets up:
#   e2e_begin NAME BUILD_DIR ARTIFACTS_FOLDER BUDGET_SECONDS [EXTRA_TOOL...]
# It exits 77 (skipped) when a tool is missing. Xvfb takes the first free display from
# E2E_FIRST_DISPLAY (61 unless set) on.

# --- where things are in the window's client area ---------------------------------------------

# A 19 px menu bar, then the 662 x 601 canvas.
menu_bar=19
window_size=662x620
menu_bar_area=300x12+300+3                        # the empty right part of the menu bar
label_first_row=645x24+8+$((496 + menu_bar))     # the first row of the message label
choice_marker_area=30x80+632+$((504 + menu_bar))  # the two choice markers
label_area=645x105+8+$((496 + menu_bar))          # the message label, the two captions
marker_area=32x32+600+$((552 + menu_bar))         # the advance marker
marker_corners="600,$((552 + menu_bar)) 631,$((583 + menu_bar))"
marker_centre=(616 $((568 + menu_bar)))
first_choice=(312 $((524 + menu_bar)))            # the captions of two choices
second_choice=(312 $((572 + menu_bar)))

# The six title images, one above the other; on the load screen the first five load the slots
# and the sixth returns to the title.
title_image_rect() {  # N (1..6): its picture, as a crop geometry
    echo 211x26+426+$((274 + menu_bar + 32 * ($1 - 1)))
}

# Pixel classes, 8 bits a channel: the text is pure red (antialiased edges aside); the marker is
# a lighter red of its own, which no text pixel comes near.
text_red=(240 255 0 16 0 16)
marker_red=(200 245 30 70 30 70)
choice_orange=(200 245 140 190 20 80)
min_text_pixels=200   # a single short line has over a thousand
min_marker_pixels=100 # the whole triangle has about 240

step_timeout=15       # seconds for any one reaction of the player
close_timeout=5       # seconds from the close request to the end of the program
title=月影回廊物語

say() { echo "$e2e_name: $*"; }

e2e_begin() {
    e2e_name=$1
    build_dir=$(cd "$2" && pwd)
    artifacts=$build_dir/$3
    budget=$4
    shift 4
    player=$build_dir/demo/tsukikage
    request_close=$build_dir/tests/e2e_request_close
    make_demo=$build_dir/tools/make_demo

    local tool file
    for tool in Xvfb xdotool import convert "$@"; do
        if ! command -v "$tool" >/dev/null; then
            say "SKIPPED: $tool is not installed (scripts/install-deps installs it)" >&2
            exit 77
        fi
    done
    for file in "$player" "$request_close" "$make_demo"; do
        [[ -x $file ]] || { say "FAIL: $file is missing: build first" >&2; exit 1; }
    done

    mkdir -p "$artifacts"
    rm -f "$artifacts"/*.png "$artifacts"/*.log
    work=$(mktemp -d "${TMPDIR:-/tmp}/$e2e_name.XXXXXX")
    xvfb_pid=
    player_pid=
    player_log=
    player_runs=0
    window=
    shots=0
    seen=0
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    run_deadline=$(( $(now_ms) + budget * 1000 ))
}

# --- processes --------------------------------------------------------------------------------

running() {  # PID: alive and not yet a zombie
    local state
    state=$(sed -n 's/^[0-9]* (.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ -n $state && $state != Z ]]
}

stop() {  # PID: SIGTERM, SIGKILL after a second
    local pid=$1
    if running "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 10); do
            running "$pid" || break
            sleep 0.1
        done
        if running "$pid"; then kill -KILL "$pid" 2>/dev/null || true; fi
    fi
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    if [[ -n $player_pid ]]; then stop "$player_pid"; fi
    if [[ -n $xvfb_pid ]]; then stop "$xvfb_pid"; fi
    rm -rf "$work"
}

fail() {
    say "FAIL: $*" >&2
    if [[ -n $player_pid ]] && running "$player_pid"; then
        import -silent -window root "$artifacts/failure-screen.png" 2>/dev/null || true
        report_player >&2
    fi
    if [[ -f $work/shot.png ]]; then cp "$work/shot.png" "$artifacts/failure-last-look.png"; fi
    say "screenshots and logs: $artifacts" >&2
    exit 1
}

# report_player: what the running player shows and does, for a failure that only the test
# output outlives: its windows, mapped or not, the end of its log and where its threads wait.
report_player() {
    local id
    say "the player's windows:"
    for id in $(xdotool search --pid "$player_pid" 2>/dev/null); do
        echo "  $id $(xwininfo -id "$id" 2>/dev/null | sed -n 's/^ *Map State: //p')" \
            "\"$(xdotool getwindowname "$id" 2>/dev/null)\""
    done
    say "the end of its log ($player_log):"
    tail -n 20 "$player_log" 2>/dev/null | sed 's/^/  /'
    if command -v gdb >/dev/null; then
        say "its threads:"
        timeout 60 gdb -batch -nx -p "$player_pid" -ex 'thread apply all bt 12' 2>/dev/null |
            grep -E '^(Thread|#)' | head -n 120 | sed 's/^/  /'
    fi
}

# --- time -------------------------------------------------------------------------------------

now_ms() { echo $(( ${EPOCHREALTIME/./} / 1000 )); }

# CTest ends a test that outlives its TIMEOUT with SIGKILL, which leaves the X server's lock file
# and this run's folder behind: the run's budget stops it first, cleaning up.
# within MS_DEADLINE: the deadline, brought forward to the end of the run's budget
within() { echo $(( $1 < run_deadline ? $1 : run_deadline )); }

# poll SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails with WHAT when
# the time is up, the run's budget is spent or the player has ended.
poll() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(( $(now_ms) + seconds * 1000 ))
    while true; do
        (( $(now_ms) < run_deadline )) || fail "the run has taken $budget s, its limit, by: $what"
        "$@" && return 0
        if [[ -n $player_pid ]] && ! running "$player_pid"; then
            local status=0
            wait "$player_pid" || status=$?
            player_pid=
            fail "the player ended (status $status) while waiting until $what (log: $player_log)"
        fi
        (( $(now_ms) < deadline )) || fail "not within $seconds s: $what"
        sleep 0.1
    done
}

# answered_within SECONDS COMMAND...: as poll, but only reports whether COMMAND succeeded in time.
answered_within() {
    local deadline
    deadline=$(within $(( $(now_ms) + $1 * 1000 )))
    shift
    until "$@"; do
        (( $(now_ms) < deadline )) || return 1
        if [[ -n $player_pid ]] && ! running "$player_pid"; then return 1; fi
        sleep 0.1
    done
}

# --- screenshots and what they show ---------------------------------------------------------

# look_at_window: one capture of the window, kept in $work/shot.png, and what it shows:
#   marker  pixels of the marker's red in the marker's square
#   text    pixels of the text's red in the message label
#   choice  pixels of the choice markers' orange beside the two captions
#   label   a digest of the label's pixels with the marker's square painted over: its text alone
#
# ImageMagick's x: asks for a window to be picked by a click when the window is gone (the player
# has ended); the time limit turns that wait into a failed look.
look_at_window() {
    timeout 5 convert "x:$window" -alpha off -depth 8 -write "$work/shot.png" \
        \( +clone -crop "$marker_area" +repage -format %c \
            -write "histogram:info:$work/marker.txt" +delete \) \
        \( +clone -crop "$choice_marker_area" +repage -format %c \
            -write "histogram:info:$work/choice.txt" +delete \) \
        -fill black -draw "rectangle $marker_corners" -crop "$label_area" +repage \
        \( +clone -format %c -write "histogram:info:$work/label.txt" +delete \) \
        "rgb:$work/label.rgb" 2>>"$work/convert.log" || return 1
    marker=$(count_pixels "$work/marker.txt" "${marker_red[@]}")
    choice=$(count_pixels "$work/choice.txt" "${choice_orange[@]}")
    text=$(count_pixels "$work/label.txt" "${text_red[@]}")
    label=$(md5sum <"$work/label.rgb")
}

# count_pixels HISTOGRAM RMIN RMAX GMIN GMAX BMIN BMAX: how many pixels of the histogram (lines
# like "  1430: (255,0,0) #FF0000 red") lie in the colour box; always prints a number.
count_pixels() {
    awk -F '[^0-9]+' -v r0="$2" -v r1="$3" -v g0="$4" -v g1="$5" -v b0="$6" -v b1="$7" '
        $3 >= r0 && $3 <= r1 && $4 >= g0 && $4 <= g1 && $5 >= b0 && $5 <= b1 { n += $2 }
        END { print n + 0 }' "$1"
}

mean_brightness_at_least() {  # FILE GEOMETRY LEVEL (0..1)
    local mean
    mean=$(convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:)
    awk -v m="$mean" -v l="$3" 'BEGIN { exit !(m >= l) }'
}

keep_shot() {  # NAME: keeps the last capture as NN-NAME.png, numbered in order
    shots=$((shots + 1))
    cp "$work/shot.png" "$artifacts/$(printf '%02d' "$shots")-$1.png"
}

# --- the X server, the player, its window -----------------------------------------------------

start_xvfb() {
    local first=${E2E_FIRST_DISPLAY:-61} number deadline
    for ((number = first; number < first + 100; ++number)); do
        [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
        Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset \
            >>"$artifacts/xvfb.log" 2>&1 &
        xvfb_pid=$!
        deadline=$(within $(( $(now_ms) + 10000 )))
        while running "$xvfb_pid" && (( $(now_ms) < deadline )); do
            if DISPLAY=:$number xdotool getdisplaygeometry >/dev/null 2>&1; then
                export DISPLAY=:$number
                say "Xvfb on $DISPLAY"
                return 0
            fi
            sleep 0.1
        done
        # Another server took the number first, or this one hangs: try the next number.
        stop "$xvfb_pid"
        xvfb_pid=
    done
    fail "could not start Xvfb on any display from :$first to :$((first + 99))" \
         "(see $artifacts/xvfb.log)"
}

make_game() {  # FOLDER: a fresh demo game written by the build's generator
    "$make_demo" "$1" >"$artifacts/make_demo.log" 2>&1 ||
        fail "make_demo could not write the demo game (see $artifacts/make_demo.log)"
}

# start_player GAME_FOLDER [FILE_SIZE_LIMIT]: starts the player on the game (on none when the name
# is empty, as the menu entry starts it) and waits until its window is mapped and painted. With
# a limit (bytes), no file of the player can grow beyond it: a write that would is refused
# (SIGXFSZ ignored, so the write fails with EFBIG instead).
start_player() {
    local game=$1 limit=${2:-}
    player_runs=$((player_runs + 1))
    player_log=$artifacts/tsukikage-$player_runs.log
    [[ -d $work/runtime ]] || mkdir -m 700 "$work/runtime"
    (
        # Silent, or recorded to player_audio_file through SDL's disk driver when it is set.
        if [[ -n ${player_audio_file:-} ]]; then
            export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$player_audio_file
        else
            export SDL_AUDIODRIVER=dummy
        fi
        # The player's own folders (settings, read pages) are the run's, not the machine's.
        export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb \
            WAYLAND_DISPLAY='' XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
        # No session bus, and none to look for: without an address, D-Bus forks a child to
        # launch one, and a child forked from a sanitized player while another thread holds
        # the allocator's lock hangs, and the player with it, before its window shows.
        export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/no-session-bus
        if [[ -n $limit ]]; then
            trap '' XFSZ
            exec prlimit --fsize="$limit" -- "$player" "$game"
        fi
        exec "$player" ${game:+"$game"}
    ) >"$player_log" 2>&1 &
    player_pid=$!
    window=
    local started
    started=$(now_ms)
    poll 30 "the window \"$title\" is mapped" find_window
    say "run $player_runs: window $window mapped after $(( $(now_ms) - started )) ms"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [[ ${WIDTH}x$HEIGHT == "$window_size" ]] ||
        fail "the window is ${WIDTH}x$HEIGHT, not $window_size: every click position would be off"
    poll "$step_timeout" "the window is painted (a light menu bar)" window_painted
}

window_painted() {
    look_at_window && mean_brightness_at_least "$work/shot.png" "$menu_bar_area" 0.5
}

# The first title's caption stands on the label's third row; the greeting before it begins on
# the first.
title_shown() {
    look_at_window || return 1
    convert "$work/shot.png" -crop "$label_first_row" +repage -format %c \
        "histogram:info:$work/row.txt" 2>>"$work/convert.log" || return 1
    (( text >= min_text_pixels && $(count_pixels "$work/row.txt" "${text_red[@]}") == 0 ))
}

first_page_shown() {  # red text and the advance marker
    look_at_window && (( text >= min_text_pixels && marker >= min_marker_pixels ))
}

player_windows() { xdotool search --onlyvisible --pid "$player_pid" 2>/dev/null || true; }

other_windows() {  # the player's mapped windows but the main one: menus, message boxes
    player_windows | grep -vx "$window" || true
}

named_window() {  # TITLE: prints the player's first mapped window with that title
    local id
    for id in $(player_windows); do
        if [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

find_window() { window=$(named_window "$title"); }  # the main window, with the game's title

click() {  # X Y in the client area
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

# A second click within the double-click time (400 ms in Qt) is a double click, and the player
# ignores it as the original did. So a click on the canvas waits that long after the screen it
# answers was seen: the click before reached the X server before then, this one after.
double_click_ms=400
click_canvas() {  # X Y
    local wait=$(( seen + double_click_ms + 200 - $(now_ms) ))
    if (( wait > 0 )); then sleep "$(printf '0.%03d' "$wait")"; fi
    click "$@"
}

click_image() {  # N (1..6): clicks the Nth title image
    click_canvas 531 $((287 + menu_bar + 32 * ($1 - 1)))
}

# --- pages and choices ------------------------------------------------------------------------

# After a click the window shows one of:
#   page    other red text in the message area, and the advance marker;
#   choice  other red text (the two captions), no marker;
#   end     neither marker: the scenario has ended and the title's notice may stand there.
# A pick of a choice must lead to a page or to other choices; an unchanged window means the
# click has not been answered yet. `answering` tells what was clicked (marker or choice);
# `shown` is the label seen before the click.
look() {
    look_at_window || return 1
    if (( marker >= min_marker_pixels )); then
        [[ $label != "$shown" ]] && (( text >= min_text_pixels )) || return 1
        outcome=page
    elif (( choice >= min_marker_pixels )) && [[ $label != "$shown" ]] &&
        (( text >= min_text_pixels )); then
        outcome=choice
    elif [[ $answering == marker ]]; then
        outcome=end
    else
        return 1
    fi
    shown=$label
}

# click_marker WHAT: clicks the advance marker and waits until `look` sees its outcome. A picture
# transition holds the marker back (shown but disabled) for up to 2.4 s: a click that it ignored
# is repeated.
click_marker() {
    local tries
    answering=marker
    for ((tries = 1; tries < 4; ++tries)); do
        click_canvas "${marker_centre[@]}"
        answered_within 3 look && break
        seen=$(now_ms)
    done
    (( tries < 4 )) || poll "$step_timeout" "$1" look
    seen=$(now_ms)
}

# click_choice X Y WHAT: picks the caption at X Y and waits for the page or choices it leads to.
click_choice() {
    answering=choice
    click_canvas "$1" "$2"
    poll "$step_timeout" "$3" look
    seen=$(now_ms)
}

# --- message boxes and other windows of the player ---------------------------------------------

keep_screen() {  # NAME: the whole screen, message boxes and menus included, as NN-NAME.png
    shots=$((shots + 1))
    import -silent -window root "$artifacts/$(printf '%02d' "$shots")-$1.png" ||
        fail "could not take a screenshot of the screen"
}

gone() {  # WINDOW...: none of them is mapped
    local mapped id
    mapped=$(player_windows)
    for id in "$@"; do
        grep -qx "$id" <<<"$mapped" && return 1
    done
    return 0
}

box_shown() { box=$(named_window "$1"); }  # TITLE: sets box

# expect_box TITLE NAME WHAT: the box TITLE comes up; kept as NAME, then closed with Return.
expect_box() {
    poll "$step_timeout" "$3 brings up the box \"$1\"" box_shown "$1"
    keep_screen "$2"
    timeout 5 xdotool windowfocus --sync "$box" || fail "the box \"$1\" cannot take the focus"
    xdotool key Return
    poll "$step_timeout" "the box \"$1\" closes on Return" gone "$box"
}

no_box() {  # WHEN
    local others
    others=$(other_windows)
    [[ -z $others ]] || fail "a window of the player is open $1 (a message box?):" \
        "$(for id in $others; do xdotool getwindowname "$id"; done | tr '\n' ' ')"
}

# expect_end STATUS WHAT: the player ends by itself within close_timeout, with that status.
expect_end() {
    local deadline status=0
    deadline=$(( $(now_ms) + close_timeout * 1000 ))
    while running "$player_pid" && (( $(now_ms) < deadline )); do sleep 0.05; done
    running "$player_pid" && fail "the player still runs $close_timeout s after $2"
    wait "$player_pid" || status=$?
    player_pid=
    (( status == $1 )) || fail "the player ended with status $status after $2, not $1"
    say "run $player_runs: the player ended with status $status after $2"
}

# --- the end ----------------------------------------------------------------------------------

# close_player: asks the window to close, as a window manager's close button does; the player
# must end within close_timeout with status 0.
close_player() {
    "$request_close" "$window" || fail "could not ask the window to close"
    local asked status=0
    asked=$(now_ms)
    while running "$player_pid" && (( $(now_ms) - asked < close_timeout * 1000 )); do
        sleep 0.05
    done
    if running "$player_pid"; then
        fail "the player still runs $close_timeout s after the window was asked to close"
    fi
    wait "$player_pid" || status=$?
    player_pid=
    (( status == 0 )) || fail "the player ended with status $status after the close request"
    say "run $player_runs: the player ended with status 0, $(( $(now_ms) - asked )) ms" \
        "after the close request"
}
