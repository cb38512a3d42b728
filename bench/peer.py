#!/usr/bin/env python3
"""Times Inkscape's command line and `mirtil-host make` on the same drawings
(a real drawing, and drawings of paths from 1k to 100k segments) and writes
the ratios into bench/RESULTS.md.

Inkscape makes its six-fold mirrored rosette with the "Rotate copies" path
effect in kaleidoscope mode. Its drawing carries the effect on a group that
holds all the art; a translation by nothing makes Inkscape compute the
effect, "object-to-path" fixes the result as plain paths, and the drawing is
exported as plain SVG. mirtil-host drags a Sweep object over the same art,
centred on the same point, and saves the drawing."""

import argparse
import gzip
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report import replace_section  # noqa: E402

HEADING = "## Beside Inkscape"
SEGMENT_COUNTS = [1000, 10000, 100000]
SEGMENTS_PER_PATH = 100
REAL_DRAWING = "/usr/share/inkscape/examples/tiger.svgz"
RUNS = 3
INKSCAPE_NAMESPACE = "http://www.inkscape.org/namespaces/inkscape"


def ensure_inkscape():
    """Debian's Inkscape, installed here only: nothing else needs it."""
    if shutil.which("inkscape"):
        return
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(["apt-get", "update"], check=True, env=env)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", "inkscape"], check=True, env=env)


def synthetic(segments):
    """Paths of 100 segments on circles about (200, 200), as the benchmarks
    draw them; the page is 400 by 400."""
    paths = []
    for index in range(0, segments, SEGMENTS_PER_PATH):
        count = min(SEGMENTS_PER_PATH, segments - index)
        radius = 10 + (index // SEGMENTS_PER_PATH) % 80
        points = [(200 + radius * math.cos(2 * math.pi * i / count), 200 + radius * math.sin(2 * math.pi * i / count))
                  for i in range(count)]
        d = "M " + " L ".join(f"{x:.4f} {y:.4f}" for x, y in points) + " Z"
        paths.append(f'<path d="{d}" fill="#336699" fill-opacity="0.3" stroke="#000000" stroke-width="0.2"/>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="400" height="400" viewBox="0 0 400 400">\n'
            '<g id="art">\n' + "\n".join(paths) + "\n</g>\n</svg>\n"), (200.0, 200.0), 100.0


def real_drawing():
    """The tiger of Inkscape's examples: its art, and a hexagon over its face."""
    with gzip.open(REAL_DRAWING, "rt", encoding="utf-8") as f:
        text = f.read()
    return text, (280.0, 230.0), 150.0


def with_effect(text, centre, radius):
    """The drawing with its art inside one group carrying the effect."""
    effect = (f'<inkscape:path-effect xmlns:inkscape="{INKSCAPE_NAMESPACE}" effect="copy_rotate" id="mirtil-peer-effect" '
              'is_visible="true" lpeversion="1.2" method="kaleidoskope" num_copies="6" '
              f'starting_point="{centre[0] + radius},{centre[1]}" origin="{centre[0]},{centre[1]}" '
              'rotation_angle="60" gap="0" copies_to_degrees="true" mirror_copies="true" split_items="false"/>')
    open_tag = re.search(r"<svg\b[^>]*>", text)
    close_tag = text.rindex("</svg>")
    head, body = text[:open_tag.end()], text[open_tag.end():close_tag]
    return (head + f"<defs>{effect}</defs>"
            f'<g id="mirtil-peer-art" xmlns:inkscape="{INKSCAPE_NAMESPACE}" '
            f'inkscape:path-effect="#mirtil-peer-effect">' + body + "</g></svg>\n")


def best_time(command):
    best = None
    for _ in range(RUNS):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def inkscape_time(path, out):
    seconds = best_time(["inkscape", "--actions=select-by-id:mirtil-peer-art;transform-translate:0,0;"
                         f"object-to-path;export-filename:{out};export-plain-svg;export-do", path])
    # Where the effect is not computed, the paths come out as they went in.
    with open(path) as f:
        given = set(re.findall(r'\sd="([^"]*)"', f.read()))
    with open(out) as f:
        if given & set(re.findall(r'\sd="([^"]*)"', f.read())):
            raise RuntimeError(f"Inkscape left the effect on {path} uncomputed")
    return seconds


def mirtil_time(host, path, out, centre, radius, prefs):
    return best_time([host, "make", path, out, "--press", f"{centre[0]},{centre[1]}", "--release",
                      f"{centre[0] + radius},{centre[1]}", "--type", "sweep", "--prefs", prefs])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--out", default="bench/RESULTS.md")
    args = parser.parse_args()
    ensure_inkscape()
    host = os.path.join(args.build, "bin", "mirtil-host")
    version = subprocess.run(["inkscape", "--version"], capture_output=True, text=True).stdout.strip()

    drawings = [("tiger (Inkscape's example)", *real_drawing())]
    for n in SEGMENT_COUNTS:
        drawings.append((f"{n} segments", *synthetic(n)))
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        prefs = os.path.join(tmp, "prefs")
        empty = os.path.join(tmp, "empty.svg")
        with open(empty, "w") as f:
            f.write(with_effect('<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"></svg>', (5, 5), 5))
        startup = inkscape_time(empty, os.path.join(tmp, "empty-out.svg"))
        for label, text, centre, radius in drawings:
            print(f"peer: {label}", file=sys.stderr)
            plain, effected = os.path.join(tmp, "plain.svg"), os.path.join(tmp, "effected.svg")
            with open(plain, "w") as f:
                f.write(text)
            with open(effected, "w") as f:
                f.write(with_effect(text, centre, radius))
            theirs = inkscape_time(effected, os.path.join(tmp, "inkscape-out.svg"))
            ours = mirtil_time(host, plain, os.path.join(tmp, "mirtil-out.svg"), centre, radius, prefs)
            rows.append((label, len(text) // 1024, theirs, ours))

    lines = [HEADING, "",
             f"{version}: \"Rotate copies\" in kaleidoscope mode on a group holding all the art, computed by a "
             "translation by nothing, made plain paths with object-to-path and exported as plain SVG; beside it "
             "`mirtil-host make` with a Sweep object over the same art about the same centre, saved. Whole "
             f"programs, start to end, the best of {RUNS} runs; Inkscape takes {startup:.2f} s for a drawing of "
             "nothing. `make bench-peer` (not run by CI) writes this section.", "",
             "| Drawing | KB | Inkscape s | mirtil-host make s | Inkscape / make |", "|---|---|---|---|---|"]
    for label, kb, theirs, ours in rows:
        lines.append(f"| {label} | {kb} | {theirs:.2f} | {ours:.3f} | {theirs / ours:.1f} |")
    lines.append("")
    replace_section(args.out, HEADING, lines)
    print(f"wrote {args.out}", file=sys.stderr)


if __name__ == "__main__":
    main()
