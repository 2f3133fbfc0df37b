#!/usr/bin/env bash
# How long the player takes to decode a 30 s effect of each encoding that the mixer does not
# decode itself (and a plain one for comparison), as it does on the click that plays it.
# usage: bench/measure_decode.sh    env: BUILD_DIR (default: build beside this folder)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${BUILD_DIR:-$here/../build}
probe=$build_dir/bench/decode_probe
[[ -x $probe ]] || { echo "measure_decode: no $probe (build with SDL2_mixer and libsndfile)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -n -r 44100 -c 2 -b 16 "$work/pcm16.wav" synth 30 sine 440 vol 0.5
sox "$work/pcm16.wav" -r 8000 -c 1 -e gsm-full-rate "$work/gsm.wav"
sox "$work/pcm16.wav" -e floating-point -b 64 "$work/float64.wav"
lame --quiet -b 128 "$work/pcm16.wav" "$work/frames.mp3"
twolame --quiet "$work/pcm16.wav" "$work/frames.mp2"
python3 - "$work" <<'PYTHON'
import struct, sys
work = sys.argv[1]
def chunk(id, body):
    return id + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
for name, tag, extra in (('mp3', 0x55, 12), ('mp2', 0x50, 22)):
    fmt = struct.pack('<HHIIHHH', tag, 2, 44100, 16000, 1, 0, extra) + b'\0' * extra
    body = b'WAVE' + chunk(b'fmt ', fmt) + chunk(b'data', open(f'{work}/frames.{name}', 'rb').read())
    open(f'{work}/{name}.wav', 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PYTHON
"$probe" "$work"/pcm16.wav "$work"/gsm.wav "$work"/float64.wav "$work"/mp3.wav "$work"/mp2.wav |
    sed "s|$work/||"
