#!/usr/bin/env python3
"""The showcase's frames before and after a change, compared section by section in PSNR.

    bench/showcase/section_psnr.py BEFORE_BUILD [AFTER_BUILD] [FRAMES_PER_SECTION] [SECTION,...]

Renders FRAMES_PER_SECTION frames (default 6) spread over each section with each build's
torvane-tool and production (1280 x 720, FSAA 0), and prints each section's lowest and mean PSNR
over its frames in dB ("same" when every frame is identical). Needs a display (Xvfb will do) and a
`convert FILE.png ppm:-`. The sections are read from the generators' timeline source."""
import math
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))


def sections():
    text = open(os.path.join(SOURCE, "content/showcase/generators/timeline.cpp")).read()
    tempo = float(re.search(r"SHOWCASE_TEMPO = ([0-9.]+)", open(os.path.join(SOURCE, "content/showcase/generators/timeline.h")).read()).group(1))
    bar_ms = 4 * 60000.0 / tempo
    found = re.findall(r'\{SectionId::\w+, "(\w+)", (\d+), (\d+)\}', text)
    return [(name, int(first) * bar_ms, (int(first) + int(bars)) * bar_ms) for name, first, bars in found]


def render(build, times, out):
    pack = os.path.join(build, "production/torvane.pak")
    subprocess.run([os.path.join(build, "tools/torvane-tool"), "render", "--pack", pack, "--width", "1280", "--height", "720",
                    "--at", ",".join(str(t) for t in times), "--out", out], check=True, stdout=subprocess.DEVNULL)


def pixels(path):
    data = subprocess.run(["convert", path, "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    return data[header.end():]


def psnr(a, b):
    if a == b:
        return math.inf
    squared = sum((x - y) * (x - y) for x, y in zip(a, b)) / len(a)
    return 10 * math.log10(255 * 255 / squared)


def main():
    before = sys.argv[1]
    after = sys.argv[2] if len(sys.argv) > 2 else "build"
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 6
    chosen = sys.argv[4].split(",") if len(sys.argv) > 4 else None
    plan = [(name, [int(start + (end - start) * (i + 0.5) / count) for i in range(count)])
            for name, start, end in sections() if chosen is None or name in chosen]
    times = [t for _, ts in plan for t in ts]
    with tempfile.TemporaryDirectory() as folder:
        render(before, times, os.path.join(folder, "before"))
        render(after, times, os.path.join(folder, "after"))
        for name, ts in plan:
            values = [psnr(pixels(os.path.join(folder, "before", "frame_%08d.png" % t)),
                           pixels(os.path.join(folder, "after", "frame_%08d.png" % t))) for t in ts]
            finite = [v for v in values if v != math.inf]
            if not finite:
                print("%-10s same" % name)
            else:
                mean = sum(min(v, 99.0) for v in values) / len(values)
                print("%-10s lowest %6.2f dB  mean %6.2f dB  (%d of %d frames differ)" % (name, min(finite), mean, len(finite), len(values)))


if __name__ == "__main__":
    main()
