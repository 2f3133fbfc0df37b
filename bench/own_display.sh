# Sourced by the measuring scripts: an Xvfb display of their own.
# start_own_display NAME LOG: starts Xvfb on the first free display from :97 up, logging to LOG;
# sets display_number and xvfb_pid (the caller kills it when done). Exits when none starts.
start_own_display() {
    local name=$1 log=$2
    display_number=97
    while [[ -e /tmp/.X$display_number-lock || -e /tmp/.X11-unix/X$display_number ]]; do
        display_number=$((display_number + 1))
        [[ $display_number -lt 140 ]] || { echo "$name: no free X display" >&2; exit 1; }
    done
    Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -S /tmp/.X11-unix/X$display_number ]] && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
        sleep 0.05
    done
    echo "$name: Xvfb did not start" >&2
    exit 1
}
