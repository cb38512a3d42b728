#!/usr/bin/env python3
"""Runs the benchmarks, counts the instructions of the measured regions with
callgrind, and writes the table of figures, floors and targets."""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Runs counted under callgrind (one iteration each): every size of the
# update and its floors, the create and animation runs.
CALLGRIND_RUNS = [
    "update/paths/1000", "update/paths/10000", "update/paths/100000", "update/paths/1000000",
    "update/groups/100000", "update/groups/1000000",
    "floor/touched/1000", "floor/touched/10000", "floor/touched/100000", "floor/touched/1000000",
    "floor/fresh/100000", "floor/fresh/1000000",
    "create/layers/10/100000", "create/layers/100/100000", "create/layers/1000/100000",
    "animation/objects/10/1000", "animation/objects/100/1000",
    "documents/open/1048576", "documents/save/1048576", "documents/xmlparse/1048576",
]

DOCUMENT_SIZES = [(1 << 20, "1 MB"), (50 << 20, "50 MB")]
OPEN_RATIO_TARGET = 3.0
SAVE_RATIO_TARGET = 3.0
MAKE_SIZES = [100000, 1000000]
MAKE_BYTES_PER_SEGMENT_TARGET = 300.0
MAKE_TIME_RATIO_TARGET = 3.0
# Written by bench/peer.py (`make bench-peer`), kept as it is here.
PEER_HEADING = "## Beside Inkscape"
CORPUS_RATIO_TARGET = 4.0

UPDATE_SIZES = [1000, 10000, 100000, 1000000]
ANIMATION_BUDGET_MS = 50.0
UPDATE_RATIO_TARGET = 3.0
UPDATE_IR_RATIO_TARGET = 2.5
FLATNESS_TARGET = 1.25
IR_PER_NODE_TARGET = 1000.0
LARGE_ANIMATION_BUDGET_MS = 100.0
BYTES_PER_SEGMENT_TARGET = 300.0


def run_benchmarks(binary, min_time, pattern=None):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    subprocess.run([binary, f"--benchmark_min_time={min_time}", f"--benchmark_out={path}",
                    "--benchmark_out_format=json"] + ([f"--benchmark_filter={pattern}"] if pattern else []),
                   check=True)
    with open(path) as f:
        data = json.load(f)
    os.unlink(path)
    # A run that reported an error has no figures; it is listed apart.
    return data, {b["name"]: b for b in data["benchmarks"] if not b.get("error_occurred")}, \
        {b["name"]: b.get("error_message", "") for b in data["benchmarks"] if b.get("error_occurred")}


def instructions(binary, name):
    """Instructions of one iteration of the named run, or None."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "callgrind.out")
        result = subprocess.run(
            ["valgrind", "--tool=callgrind", "--instr-atstart=no", "--collect-atstart=no",
             f"--callgrind-out-file={out}", binary, f"--benchmark_filter=^{re.escape(name)}$",
             "--benchmark_min_time=0", "--benchmark_format=json"],
            capture_output=True, text=True)
        if result.returncode != 0 or not os.path.exists(out):
            return None
        iterations = json.loads(result.stdout)["benchmarks"][0]["iterations"]
        with open(out) as f:
            for line in f:
                if line.startswith("totals:"):
                    return int(line.split()[1]) / iterations
    return None


def ms(run):
    """Real time of one iteration in milliseconds."""
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


def fmt_ms(value):
    return f"{value:.3f}" if value < 10 else f"{value:.1f}"


def fmt_ir(value):
    return "-" if value is None else f"{value / 1e6:.2f} M"


def fmt_ratio(a, b):
    return "-" if a is None or b is None or b == 0 else f"{a / b:.2f}"


WEB_HEADING = "## The page in the browser, over the demo drawing"
WEB_UPDATE_BUDGET_MS = 1000.0 / 60
WEB_WASM_RATIO_TARGET = 2.0


def web_section(build):
    """The page's figures (web/bench/measure.js) as lines of the report;
    none when the page is not built."""
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if not os.path.exists(os.path.join(root, "web", "dist", "mirrortile.js")):
        return []
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs",
               MIRTIL_HOST=os.path.join(build, "bin", "mirtil-host"))
    result = subprocess.run(["node", os.path.join(root, "web", "bench", "measure.js")],
                            capture_output=True, text=True, env=env, check=True)
    f = json.loads(result.stdout)
    browser, wasm, native = f["browser"], f["wasm"], f["native"]
    yes = lambda ok: "yes" if ok else "no"
    return [
        WEB_HEADING,
        "",
        f"Headless Chromium (software drawing): the median of {f['dragUpdates']} drag updates of the tool "
        "(the host's message, the document written as SVG and drawn again by the browser) and of "
        f"{f['animationSteps']} steps of Rotate Mirrortiles (every object turned and updated, then drawn). "
        "Beside them the host alone: the same messages in the wasm build under node, and in the native "
        "program (a run with the messages less one without, the best of five, over their number; 5000 drag "
        "updates there).",
        "",
        "| What | Browser ms | Wasm host ms | Native host ms | Wasm / native |",
        "|---|---|---|---|---|",
        f"| drag update | {fmt_ms(browser['update'])} | {fmt_ms(wasm['update'])} | {fmt_ms(native['update'])} | "
        f"{fmt_ratio(wasm['update'], native['update'])} |",
        f"| animation step | {fmt_ms(browser['step'])} | {fmt_ms(wasm['step'])} | {fmt_ms(native['step'])} | "
        f"{fmt_ratio(wasm['step'], native['step'])} |",
        "",
        "| Target | Figure | Met |",
        "|---|---|---|",
        f"| a drag update within a frame at 60 updates a second ({WEB_UPDATE_BUDGET_MS:.1f} ms) | "
        f"{fmt_ms(browser['update'])} ms | {yes(browser['update'] <= WEB_UPDATE_BUDGET_MS)} |",
        f"| the wasm host's drag update within {WEB_WASM_RATIO_TARGET:.0f}x native | "
        f"{fmt_ratio(wasm['update'], native['update'])} | {yes(wasm['update'] <= WEB_WASM_RATIO_TARGET * native['update'])} |",
        f"| the wasm host's animation step within {WEB_WASM_RATIO_TARGET:.0f}x native | "
        f"{fmt_ratio(wasm['step'], native['step'])} | {yes(wasm['step'] <= WEB_WASM_RATIO_TARGET * native['step'])} |",
        "",
    ]


CORPUS_HEADING = "## Real drawings against librsvg"


def corpus_section(runs, failed):
    """The corpus table and its target line, as lines."""
    lines = [CORPUS_HEADING, "",
             "Opening a drawing of the test corpus (`tests/files/corpus`, and the stock examples under "
             "`/usr/share/inkscape/examples` where installed) and saving it, against librsvg drawing the same "
             f"file at its own size. Target: open and save within {CORPUS_RATIO_TARGET:.0f}x the drawing.", "",
             "| Drawing | KB | Open and save ms | librsvg ms | Ratio |", "|---|---|---|---|---|"]
    worst = None
    for name in sorted(n for n in runs if n.startswith("corpus/opensave/")):
        drawing = name[len("corpus/opensave/"):]
        o, r = runs[name], runs.get(f"corpus/rsvg/{drawing}")
        if r:
            ratio = ms(o) / ms(r)
            worst = ratio if worst is None else max(worst, ratio)
            lines.append(f"| {drawing} | {o['bytes'] / 1024:.0f} | {fmt_ms(ms(o))} | {fmt_ms(ms(r))} | {ratio:.2f} |")
        else:
            lines.append(f"| {drawing} | {o['bytes'] / 1024:.0f} | {fmt_ms(ms(o))} | "
                         f"not drawn: {failed.get(f'corpus/rsvg/{drawing}', '')} | - |")
    lines.append("")
    if worst is not None:
        lines.append(f"Largest ratio {worst:.2f}: {'within' if worst <= CORPUS_RATIO_TARGET else 'beyond'} "
                     f"the target of {CORPUS_RATIO_TARGET:.0f}x.")
        lines.append("")
    return lines


FILES_PATTERN = "^(documents|make)/"
FILES_HEADINGS = ["## Documents", "## mirtil-host make against opening and saving"]
FILES_TARGETS = ("| opening an SVG", "| saving an SVG", "| make")


def section_of(lines, heading):
    """The section under `heading` in the lines, as lines; none without it."""
    if heading not in lines:
        return []
    start = lines.index(heading)
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start:end]


def merge_files_figures(path, lines):
    """The documents' and make's sections and target lines of `lines` put in
    place of those of the report at `path`, the rest of it kept."""
    for heading in FILES_HEADINGS:
        replace_section(path, heading, section_of(lines, heading))
    with open(path) as f:
        text = f.read().split("\n")
    targets = section_of(text, "## Targets")
    if not targets:
        return
    start = text.index("## Targets")
    fresh = [line for line in section_of(lines, "## Targets") if line.startswith(FILES_TARGETS)]
    kept = [line for line in targets if not line.startswith(FILES_TARGETS)]
    while kept and kept[-1] == "":
        kept.pop()
    text[start:start + len(targets)] = kept + fresh + [""]
    # The notes at the end as they now are.
    notes = read_notes()
    if notes and notes[0] in text:
        text = text[:text.index(notes[0])] + notes + [""]
    with open(path, "w") as f:
        f.write("\n".join(text))


def read_notes():
    """NOTES.md beside this script, as lines; none without it."""
    notes = os.path.join(os.path.dirname(os.path.abspath(__file__)), "NOTES.md")
    if not os.path.exists(notes):
        return []
    with open(notes) as f:
        return f.read().rstrip().split("\n")


def kept_section(path, heading):
    """The section under `heading` of the file as it stands, as lines; none
    when there is no such file or section."""
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return section_of(f.read().split("\n"), heading)


def replace_section(path, heading, section):
    """The file with the section under `heading` replaced (or added before the targets)."""
    with open(path) as f:
        text = f.read().split("\n")
    if heading in text:
        start = text.index(heading)
        end = next((i for i in range(start + 1, len(text)) if text[i].startswith("## ")), len(text))
    else:
        start = end = text.index("## Targets") if "## Targets" in text else len(text)
    with open(path, "w") as f:
        f.write("\n".join(text[:start] + section + text[end:]))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--out", default="bench/RESULTS.md")
    parser.add_argument("--min-time", default="0.5")
    parser.add_argument("--no-callgrind", action="store_true")
    parser.add_argument("--corpus-only", action="store_true",
                        help="run only the real drawings and replace their section of --out")
    parser.add_argument("--files-only", action="store_true",
                        help="run only the documents and make, and replace their sections and targets in --out")
    args = parser.parse_args()

    binary = os.path.join(args.build, "bench", "mirtil_bench")
    if args.corpus_only:
        _, runs, failed = run_benchmarks(binary, args.min_time, "^corpus/")
        replace_section(args.out, CORPUS_HEADING, corpus_section(runs, failed))
        print(f"wrote {args.out}", file=sys.stderr)
        return
    context, runs, failed = run_benchmarks(binary, args.min_time, FILES_PATTERN if args.files_only else None)
    counted = {}
    if not args.no_callgrind and shutil.which("valgrind"):
        for name in CALLGRIND_RUNS:
            if name in runs:
                print(f"callgrind: {name}", file=sys.stderr)
                counted[name] = instructions(binary, name)

    ir = counted.get
    lines = []
    add = lines.append
    ctx = context["context"]
    add("# Benchmark results")
    add("")
    add(f"Machine: {ctx.get('num_cpus')} cores at {ctx.get('mhz_per_cpu')} MHz, load average "
        f"{', '.join(f'{x:.2f}' for x in ctx.get('load_avg', []))} when the run began. "
        "Times are the real time of one iteration (noisy on this shared machine); instruction counts "
        "(Ir) are callgrind's for the measured region of one iteration and do not depend on the load.")
    add("")
    add("Reproduce: `make bench` (or `python3 bench/report.py --build build-bench`); one run alone: "
        "`build-bench/bench/mirtil_bench --benchmark_filter='^update/paths/100000$'`; its instructions: "
        "`valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no "
        "build-bench/bench/mirtil_bench --benchmark_filter='^update/paths/100000$' --benchmark_min_time=0`.")
    add("")

    add("## Update of one object against its floor")
    add("")
    add("Floor: the same number of segments copied six times into buffers allocated and touched "
        "beforehand, every point of each copy then put through one affine transformation "
        "(`floor/touched`); the same into fresh pages from the system (`floor/fresh`).")
    add("")
    add("| Captured art | Segments | Update ms | Floor ms | Ratio | Fresh floor ms | Ratio to fresh | "
        "Update Ir | Floor Ir | Ir ratio | ns per segment |")
    add("|---|---|---|---|---|---|---|---|---|---|---|")
    per_segment = {}
    for kind, label in (("paths", "one path layer"), ("groups", "1000 groups")):
        for n in UPDATE_SIZES:
            u, f, fr = runs.get(f"update/{kind}/{n}"), runs.get(f"floor/touched/{n}"), runs.get(f"floor/fresh/{n}")
            if not u or not f or not fr:
                continue
            per_segment[(kind, n)] = ms(u) * 1e6 / n
            add(f"| {label} | {n} | {fmt_ms(ms(u))} | {fmt_ms(ms(f))} | {ms(u) / ms(f):.2f} | {fmt_ms(ms(fr))} | "
                f"{ms(u) / ms(fr):.2f} | {fmt_ir(ir(f'update/{kind}/{n}'))} | {fmt_ir(ir(f'floor/touched/{n}'))} | "
                f"{fmt_ratio(ir(f'update/{kind}/{n}'), ir(f'floor/touched/{n}'))} | {per_segment[(kind, n)]:.1f} |")
    add("")

    add("## Creating an object: press and release over 100k segments")
    add("")
    add("Capture of every layer's art into the new object's dictionary, and its first update. "
        "Beside it, the update floor for the same 100k segments.")
    add("")
    add("| Layers | Press and release ms | Floor ms (100k) | Ratio | Ir | Floor Ir | Ir ratio |")
    add("|---|---|---|---|---|---|---|")
    floor100k = runs.get("floor/touched/100000")
    for layers in (10, 100, 1000):
        name = f"create/layers/{layers}/100000"
        c = runs.get(name)
        if c and floor100k:
            add(f"| {layers} | {fmt_ms(ms(c))} | {fmt_ms(ms(floor100k))} | {ms(c) / ms(floor100k):.2f} | "
                f"{fmt_ir(ir(name))} | {fmt_ir(ir('floor/touched/100000'))} | "
                f"{fmt_ratio(ir(name), ir('floor/touched/100000'))} |")
    add("")

    add("## One animation step, updates included")
    add("")
    add(f"Floor: the budget of {ANIMATION_BUDGET_MS:.0f} ms, half the shortest timer period (100 ms).")
    add("")
    add("| Objects of 1k segments | Step ms | Budget ms | Ratio | Ir | Undo steps kept |")
    add("|---|---|---|---|---|---|")
    for objects in (10, 100, 1000):
        name = f"animation/objects/{objects}/1000"
        a = runs.get(name)
        if a:
            add(f"| {objects} | {fmt_ms(ms(a))} | {ANIMATION_BUDGET_MS:.0f} | {ms(a) / ANIMATION_BUDGET_MS:.2f} | "
                f"{fmt_ir(ir(name))} | {a.get('undo_steps', 0):.0f} |")
    add("")

    add("## Documents")
    add("")
    add("Opening (reading the SVG text into the document) and saving (writing the document as SVG text) "
        "against the XML library's own parse of the same text into its tree.")
    add("")
    add("| Size | Open ms | Save ms | XML parse ms | Open / parse | Save / parse | Open Ir | Save Ir | Parse Ir | "
        "Open Ir ratio | Save Ir ratio |")
    add("|---|---|---|---|---|---|---|---|---|---|---|")
    for size, label in DOCUMENT_SIZES:
        o, s, p = (runs.get(f"documents/{kind}/{size}") for kind in ("open", "save", "xmlparse"))
        if o and s and p:
            add(f"| {label} | {fmt_ms(ms(o))} | {fmt_ms(ms(s))} | {fmt_ms(ms(p))} | {ms(o) / ms(p):.2f} | "
                f"{ms(s) / ms(p):.2f} | {fmt_ir(ir(f'documents/open/{size}'))} | "
                f"{fmt_ir(ir(f'documents/save/{size}'))} | {fmt_ir(ir(f'documents/xmlparse/{size}'))} | "
                f"{fmt_ratio(ir(f'documents/open/{size}'), ir(f'documents/xmlparse/{size}'))} | "
                f"{fmt_ratio(ir(f'documents/save/{size}'), ir(f'documents/xmlparse/{size}'))} |")
    add("")

    add("## mirtil-host make against opening and saving")
    add("")
    add("`mirtil-host make` run in process on a drawing file (paths of 100 segments in one layer): it opens the "
        "file, drags a Sweep object over all the art and saves, the file written holding the art eight times "
        "(the layer, the object's edit group, its six-fold result). Beside it the same program opening and "
        "saving the same drawing (`run` of an empty script). One run each; peak resident memory (VmHWM) over "
        "the resident memory before.")
    add("")
    add("| Segments | Open and save ms | Make ms | Time ratio | Open and save peak MB | Make peak MB | "
        "Make's extra bytes per segment |")
    add("|---|---|---|---|---|---|---|")
    make_figures = {}
    for n in MAKE_SIZES:
        o, m = runs.get(f"make/opensave/{n}/iterations:1"), runs.get(f"make/make/{n}/iterations:1")
        if o and m:
            extra = (m["peak_bytes"] - o["peak_bytes"]) / n
            make_figures[n] = (ms(m) / ms(o), extra)
            add(f"| {n} | {fmt_ms(ms(o))} | {fmt_ms(ms(m))} | {ms(m) / ms(o):.2f} | {o['peak_bytes'] / 2**20:.1f} | "
                f"{m['peak_bytes'] / 2**20:.1f} | {extra:.0f} |")
    add("")

    lines.extend(corpus_section(runs, failed))

    add("## Memory")
    add("")
    add("Peak resident memory (VmHWM) of the drawing, the object made from it and one further update, "
        "over the resident memory before, per captured source segment.")
    add("")
    add("| Segments | Peak bytes per segment | Target |")
    add("|---|---|---|")
    for n in (100000, 1000000):
        m = runs.get(f"memory/peak/{n}/iterations:1")
        if m:
            add(f"| {n} | {m['peak_bytes_per_segment']:.0f} | {BYTES_PER_SEGMENT_TARGET:.0f} |")
    add("")

    add("## Targets")
    add("")
    add("| Target | Figure | Met |")
    add("|---|---|---|")
    for n in (100000, 1000000):
        u, f = runs.get(f"update/paths/{n}"), runs.get(f"floor/touched/{n}")
        if u and f:
            ratio = ms(u) / ms(f)
            add(f"| update at {n} within {UPDATE_RATIO_TARGET:.0f}x its floor | {ratio:.2f}x | "
                f"{'yes' if ratio <= UPDATE_RATIO_TARGET else 'no'} |")
            ui, fi = ir(f'update/paths/{n}'), ir(f'floor/touched/{n}')
            if ui and fi:
                add(f"| update at {n} within {UPDATE_IR_RATIO_TARGET}x its floor's instructions | "
                    f"{ui / fi:.2f}x | {'yes' if ui / fi <= UPDATE_IR_RATIO_TARGET else 'no'} |")
    flat = [per_segment[("paths", n)] for n in (10000, 100000, 1000000) if ("paths", n) in per_segment]
    if flat:
        spread = max(flat) / min(flat)
        add(f"| time per segment flat within 25% from 10k to 1M | max/min {spread:.2f} | "
            f"{'yes' if spread <= FLATNESS_TARGET else 'no'} |")
    g = runs.get("update/groups/100000")
    if g and ir("update/groups/100000"):
        per_node = ir("update/groups/100000") / g["result_nodes"]
        add(f"| update of art in 1000 groups within {IR_PER_NODE_TARGET:.0f} instructions per node made "
            f"(100000) | {per_node:.0f} | {'yes' if per_node <= IR_PER_NODE_TARGET else 'no'} |")
    for objects, budget in ((100, ANIMATION_BUDGET_MS), (1000, LARGE_ANIMATION_BUDGET_MS)):
        a = runs.get(f"animation/objects/{objects}/1000")
        if a:
            add(f"| animation step over {objects} objects within {budget:.0f} ms | {fmt_ms(ms(a))} ms | "
                f"{'yes' if ms(a) <= budget else 'no'} |")
    for size, label in DOCUMENT_SIZES:
        o, p = runs.get(f"documents/open/{size}"), runs.get(f"documents/xmlparse/{size}")
        if o and p:
            add(f"| opening an SVG of {label} within {OPEN_RATIO_TARGET:.0f}x the XML parse | {ms(o) / ms(p):.2f}x | "
                f"{'yes' if ms(o) / ms(p) <= OPEN_RATIO_TARGET else 'no'} |")
        elif f"documents/open/{size}" in failed:
            add(f"| opening an SVG of {label} within {OPEN_RATIO_TARGET:.0f}x the XML parse | "
                f"refused: {failed[f'documents/open/{size}']} | no |")
    s, p = runs.get(f"documents/save/{1 << 20}"), runs.get(f"documents/xmlparse/{1 << 20}")
    if s and p:
        add(f"| saving an SVG of 1 MB within {SAVE_RATIO_TARGET:.0f}x the XML parse | {ms(s) / ms(p):.2f}x | "
            f"{'yes' if ms(s) / ms(p) <= SAVE_RATIO_TARGET else 'no'} |")
    for n, (ratio, extra) in make_figures.items():
        add(f"| make's peak memory at most {MAKE_BYTES_PER_SEGMENT_TARGET:.0f} bytes per segment over open and save "
            f"({n}) | {extra:.0f} | {'yes' if extra <= MAKE_BYTES_PER_SEGMENT_TARGET else 'no'} |")
    if 1000000 in make_figures:
        ratio = make_figures[1000000][0]
        add(f"| make at 1000000 within {MAKE_TIME_RATIO_TARGET:.0f}x open and save | {ratio:.2f}x | "
            f"{'yes' if ratio <= MAKE_TIME_RATIO_TARGET else 'no'} |")
    for n in (100000, 1000000):
        m = runs.get(f"memory/peak/{n}/iterations:1")
        if m:
            add(f"| at most {BYTES_PER_SEGMENT_TARGET:.0f} bytes per captured segment ({n}) | "
                f"{m['peak_bytes_per_segment']:.0f} | "
                f"{'yes' if m['peak_bytes_per_segment'] <= BYTES_PER_SEGMENT_TARGET else 'no'} |")
    add("")

    if failed:
        add("## Runs that failed")
        add("")
        add("| Run | Error |")
        add("|---|---|")
        for name, message in failed.items():
            add(f"| {name} | {message} |")
        add("")

    # The page's figures as last measured where the page is not built.
    lines.extend(web_section(args.build) or kept_section(args.out, WEB_HEADING))
    lines.extend(kept_section(args.out, PEER_HEADING))

    notes = read_notes()
    if notes:
        lines.extend(notes)
        add("")

    if args.files_only:
        merge_files_figures(args.out, lines)
    else:
        with open(args.out, "w") as f:
            f.write("\n".join(lines))
    print(f"wrote {args.out}", file=sys.stderr)


if __name__ == "__main__":
    main()
