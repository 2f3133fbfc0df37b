#!/usr/bin/env python3
"""One process's memory budget by part, and its CPU share by thread over some seconds.

Usage: budget.py PID SECONDS LABEL (called by measure_budget.sh)."""
import collections
import os
import re
import sys
import time

PARTS = [  # (part, pattern on the mapping's name), first match wins
    ("Qt", r"libQt6"),
    ("fonts", r"\.(ttf|otf|ttc|otc)$"),
    ("soundfont", r"\.sf[23]$"),
    ("ICU", r"libicu"),
    ("audio libraries", r"lib(SDL2|fluidsynth|instpatch|sndfile|asound|pulse|pipewire|jack|FLAC|vorbis|ogg|opus|mpg123|modplug|xmp|gsm)"),
    ("X11 and GL", r"lib(X|xcb|GL|EGL|xkb|drm)|memfd:xorg"),
    ("C and C++ runtime", r"lib(c|m|stdc\+\+|gcc_s)[.-]|ld-linux"),
    ("other libraries", r"\.so(\.|$)"),
    ("the program", r"/tsukikage$"),
    ("heap", r"^\[heap\]$"),
    ("anonymous", r"^$|^\[(anon|stack)"),
]


def budget(pid):
    parts = collections.defaultdict(lambda: [0, 0])  # part -> [rss, private]
    name = None
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                fields = line.split(None, 5)
                name = fields[5].strip() if len(fields) > 5 else ""
                part = next((p for p, pattern in PARTS if re.search(pattern, name)), "other")
            elif line.startswith("Rss:"):
                parts[part][0] += int(line.split()[1])
            elif line.startswith(("Private_Clean:", "Private_Dirty:")):
                parts[part][1] += int(line.split()[1])
    return parts


def cpu_ticks(pid):
    ticks = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            with open(f"/proc/{pid}/task/{task}/comm") as comm:
                name = comm.read().strip()
        except OSError:
            continue
        ticks[(task, name)] = int(fields[11]) + int(fields[12])
    return ticks


def main():
    pid, seconds, label = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    hz = os.sysconf("SC_CLK_TCK")
    before, start = cpu_ticks(pid), time.monotonic()
    time.sleep(seconds)
    after, elapsed = cpu_ticks(pid), time.monotonic() - start
    status = dict(line.split(":", 1) for line in open(f"/proc/{pid}/status"))
    rss = int(status["VmRSS"].split()[0]) / 1024
    peak = int(status["VmHWM"].split()[0]) / 1024
    total = sum(after.values()) - sum(before.get(k, 0) for k in after)
    threads = ", ".join(f"{name} {100 * (t - before.get((task, name), 0)) / hz / elapsed:.1f}"
                        for (task, name), t in sorted(after.items(), key=lambda kv: -kv[1])
                        if t - before.get((task, name), 0) > 0)
    print(f"{label}: resident {rss:.1f} MiB (peak {peak:.1f}); CPU {100 * total / hz / elapsed:.2f}%"
          f" of a core over {elapsed:.0f} s ({threads or 'no thread ran'})")
    for part, (resident, private) in sorted(budget(pid).items(), key=lambda kv: -kv[1][0]):
        print(f"  {part:<20} {resident / 1024:6.1f} MiB resident, {private / 1024:6.1f} private")


if __name__ == "__main__":
    main()
