#!/usr/bin/env bash
# Every wave encoding the original platform played is heard in the real player window, on an
# Xvfb of its own, its sound recorded through SDL's disk driver: the demo game with a scenario
# whose pages each play the same effect in another encoding (PCM of 8 to 32 bits, float of 32
# and 64, MS and IMA ADPCM, A-law, u-law, GSM 6.10, MPEG layers 2 and 3 inside WAVE, and a
# wave of unusual chunks); after each click the stretch recorded must be loud.
#
# usage: tests/e2e/wave_encodings.sh BUILD_DIR
#
# Screenshots, logs and the recording stay in BUILD_DIR/e2e-artifacts-wave-encodings/. Exits
# 77 (skipped) when a tool it needs is missing.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_begin wave_encodings "$1" e2e-artifacts-wave-encodings 100 sox lame twolame python3 iconv

start_xvfb
game=$work/game
make_game "$game"
se=$game/se
sox -n -r 22050 -c 1 -b 16 "$se/source.wav" synth 0.5 sine 660 vol 0.5
lame --quiet -b 32 "$se/source.wav" "$work/source.mp3"
twolame --quiet "$se/source.wav" "$work/source.mp2"
# An MPEG stream inside a WAVE file, and a plain wave's chunks in an unusual order.
python3 - "$work" "$se" <<'PYTHON'
import struct, sys
work, se = sys.argv[1], sys.argv[2]
def chunk(id, body):
    return id + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
def riff(body):
    return b'RIFF' + struct.pack('<I', 4 + len(body)) + b'WAVE' + body
for name, tag, extra in (('mp3', 0x55, 12), ('mp2', 0x50, 22)):
    fmt = struct.pack('<HHIIHHH', tag, 1, 22050, 4000, 1, 0, extra) + b'\0' * extra
    frames = open(f'{work}/source.{name}', 'rb').read()
    open(f'{se}/{name}.wav', 'wb').write(riff(chunk(b'fmt ', fmt) + chunk(b'fact', struct.pack('<I', 11025)) + chunk(b'data', frames)))
plain = open(f'{se}/source.wav', 'rb').read()
fmt_at, data_at = plain.index(b'fmt '), plain.index(b'data')
fmt = plain[fmt_at + 8:fmt_at + 8 + struct.unpack('<I', plain[fmt_at + 4:fmt_at + 8])[0]]
data = plain[data_at + 8:data_at + 8 + struct.unpack('<I', plain[data_at + 4:data_at + 8])[0]]
open(f'{se}/chunks.wav', 'wb').write(riff(chunk(b'LIST', b'INFOodd') + chunk(b'data', data) + chunk(b'cue ', b'abc') + chunk(b'fmt ', fmt)))
PYTHON
encodings=(u8 s16 s24 s32 f32 f64 msadpcm ima alaw ulaw gsm mp3 mp2 chunks)
sox "$se/source.wav" -e unsigned-integer -b 8 "$se/u8.wav"
sox "$se/source.wav" -r 44100 -c 2 "$se/s16.wav"
sox "$se/source.wav" -b 24 "$se/s24.wav"
sox "$se/source.wav" -b 32 "$se/s32.wav"
sox "$se/source.wav" -e floating-point -b 32 "$se/f32.wav"
sox "$se/source.wav" -e floating-point -b 64 "$se/f64.wav"
sox "$se/source.wav" -e ms-adpcm "$se/msadpcm.wav"
sox "$se/source.wav" -e ima-adpcm "$se/ima.wav"
sox "$se/source.wav" -e a-law "$se/alaw.wav"
sox "$se/source.wav" -e u-law "$se/ulaw.wav"
sox "$se/source.wav" -r 8000 -e gsm-full-rate "$se/gsm.wav"
{
    printf '%s\r\n' "最初のページ" "."
    for encoding in "${encodings[@]}"; do printf '%s\r\n' ".v se\\$encoding" "$encoding" "."; done
} | iconv -f UTF-8 -t CP932 >"$game/datafile"

player_audio_file=$artifacts/recording.raw
rm -f "$player_audio_file"
start_player "$game"
poll "$step_timeout" "the title caption appears" title_shown
click_image 1
poll "$step_timeout" "the new-game image shows the first page" first_page_shown
sleep 1  # the title theme's last buffers

recorded() { stat -c %s "$player_audio_file" 2>/dev/null || echo 0; }
bytes_per_second=$((44100 * 4))
for encoding in "${encodings[@]}"; do
    from=$(recorded)
    click_canvas "${marker_centre[@]}"
    seen=$(now_ms)
    sleep 1.0
    to=$(recorded)
    (( to - from >= bytes_per_second / 2 )) || fail "$encoding: only $(( to - from )) bytes recorded in a second"
    level=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$player_audio_file" -n \
                trim "$(( from / 4 ))s" "$(( (to - from) / 4 ))s" stats 2>&1 |
            awk '/^RMS lev dB/ { print $4 }')
    say "$encoding: ${level} dB RMS"
    awk -v l="$level" 'BEGIN { exit !(l ~ /^-?[0-9.]+$/ && l + 0 > -35) }' ||
        fail "$encoding is not heard: ${level:-no} dB RMS in the second after its page"
done
no_box "after every encoding"
close_player
say "PASS"
