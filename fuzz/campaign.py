#!/usr/bin/env python3
"""A fuzzing campaign: each fuzz target runs until it has made a given
number of executions or spent a given time, growing a corpus of its own in
the build tree, which the next campaign starts from. A crash, leak, timeout
or out-of-memory ends a run; its input is kept and the target starts again
for what is left of its budget. Writes a table of executions, executions per
second, coverage (libFuzzer's cov and ft) and finds per target.

    fuzz/campaign.py --build build-fuzz --runs 1000000 --seconds 600 --jobs 2 --out fuzz/CAMPAIGN.md
"""

import argparse
import concurrent.futures
import datetime
import os
import re
import subprocess
import sys
import time

SOURCE = os.path.dirname(os.path.abspath(__file__))
# A target that keeps failing at once would spend its budget restarting.
MOST_FINDS = 10
STATUS = re.compile(r"^#(\d+)\s+\w+\s+cov: (\d+) ft: (\d+)")
EXECUTED = re.compile(r"^stat::number_of_executed_units: (\d+)")
ARTIFACT = re.compile(r"Test unit written to (\S+)")


def targets(build):
    folder = os.path.join(build, "fuzz")
    names = sorted(entry[len("fuzz_"):] for entry in os.listdir(folder)
                   if entry.startswith("fuzz_") and os.access(os.path.join(folder, entry), os.X_OK))
    if not names:
        sys.exit(f"no fuzz targets in {folder}: build them first (make fuzz-smoke builds them)")
    return names


def run_target(build, name, runs, seconds, log):
    """Runs one target to its budget; answers its figures."""
    binary = os.path.join(build, "fuzz", "fuzz_" + name)
    grown = os.path.join(build, "fuzz", "campaign", name)
    finds_folder = os.path.join(build, "fuzz", "campaign", "finds", name)
    os.makedirs(grown, exist_ok=True)
    os.makedirs(finds_folder, exist_ok=True)
    inputs = [os.path.join(SOURCE, "corpus", name), os.path.join(SOURCE, "regressions", name)]
    options = ["-timeout=60", "-rss_limit_mb=2048", "-print_final_stats=1",
               "-artifact_prefix=" + finds_folder + os.sep]
    dictionary = os.path.join(SOURCE, "dict", name + ".dict")
    if os.path.exists(dictionary):
        options.append("-dict=" + dictionary)
    executed, spent, cov, ft, finds = 0, 0.0, 0, 0, []
    with open(log, "w") as out:
        while executed < runs and spent < seconds - 1 and len(finds) < MOST_FINDS:
            command = [binary, f"-runs={runs - executed}", f"-max_total_time={int(seconds - spent)}", *options,
                       grown, *[folder for folder in inputs if os.path.isdir(folder)]]
            out.write("$ " + " ".join(command) + "\n")
            out.flush()
            start = time.monotonic()
            done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                  errors="replace")
            spent += time.monotonic() - start
            out.write(done.stderr)
            for line in done.stderr.splitlines():
                if m := STATUS.match(line):
                    cov, ft = int(m.group(2)), int(m.group(3))
                elif m := EXECUTED.match(line):
                    executed += int(m.group(1))
                elif m := ARTIFACT.search(line):
                    finds.append(os.path.basename(m.group(1)))
            if done.returncode == 0:
                break
            if not ARTIFACT.search(done.stderr):
                finds.append(f"exit status {done.returncode} without an input (see {log})")
                break
    return {"name": name, "executed": executed, "seconds": spent, "cov": cov, "ft": ft, "finds": finds,
            "corpus": len(os.listdir(grown))}


def kept_rows(out, names):
    """The rows of an earlier table for targets not run this time."""
    if not os.path.exists(out):
        return []
    rows = []
    with open(out) as f:
        for line in f:
            cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
            if line.startswith("| ") and cells[0] not in names and cells[0] not in ("target", "---"):
                rows.append(line.rstrip("\n"))
    return rows


def write_table(results, args, wall, out):
    header = [
        "# Fuzzing campaign",
        "",
        "Written by `make fuzz-campaign` (`fuzz/campaign.py`): each target until "
        f"{args.runs:,} executions or its time, {args.jobs} at a time, on a two-core machine shared with "
        "other work, under AddressSanitizer and UndefinedBehaviorSanitizer. Each starts from the corpus the "
        "last campaign grew (`build-fuzz/fuzz/campaign/<target>`), the seed corpus and the regressions; "
        "finds are kept in `build-fuzz/fuzz/campaign/finds/<target>/`. The last run "
        f"({datetime.date.today().isoformat()}, {', '.join(r['name'] for r in results)}) took "
        f"{wall / 60:.0f} minutes.",
        "",
        "| target | executions | seconds | exec/s | cov | ft | corpus | finds |",
        "|---|---:|---:|---:|---:|---:|---:|---|",
    ]
    rows = kept_rows(out, {r["name"] for r in results})
    for r in results:
        rate = r["executed"] / r["seconds"] if r["seconds"] > 0 else 0
        finds = ", ".join(r["finds"]) if r["finds"] else "none"
        rows.append(f"| {r['name']} | {r['executed']:,} | {r['seconds']:.0f} | {rate:,.0f} | {r['cov']} | {r['ft']} | "
                    f"{r['corpus']} | {finds} |")
    rows.sort()
    lines = header + rows
    short = []  # (name, executions, seconds) of every row short of the runs, without finds
    for row in rows:
        name, executed, seconds, _, _, _, _, finds = [cell.strip() for cell in row.strip().strip("|").split("|")]
        if int(executed.replace(",", "")) < args.runs and finds == "none":
            short.append((name, int(executed.replace(",", "")), float(seconds)))
    if short:
        lines += ["", f"Short of {args.runs:,} executions in the time: " + ", ".join(name for name, _, _ in short) +
                  ". The full run, with time enough for each at the rate reached:", "", "```sh"]
        for name, executed, seconds in short:
            rate = executed / seconds if seconds > 0 and executed else 1
            lines.append(f"make fuzz-campaign FUZZ_CAMPAIGN_TARGETS={name} "
                         f"FUZZ_CAMPAIGN_SECONDS={int(args.runs / rate * 1.1) + 1}")
        lines.append("```")
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the fuzz build folder")
    parser.add_argument("--runs", type=int, default=1000000, help="executions per target")
    parser.add_argument("--seconds", type=int, default=600, help="most seconds per target")
    parser.add_argument("--jobs", type=int, default=2, help="targets run at a time")
    parser.add_argument("--targets", default="", help="only these targets (comma-separated)")
    parser.add_argument("--out", required=True, help="the table's file")
    args = parser.parse_args()
    names = targets(args.build)
    if args.targets:
        names = [name for name in names if name in args.targets.split(",")]
    logs = os.path.join(args.build, "fuzz", "campaign", "logs")
    os.makedirs(logs, exist_ok=True)
    start = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = [pool.submit(run_target, args.build, name, args.runs, args.seconds,
                               os.path.join(logs, name + ".log")) for name in names]
        results = [future.result() for future in futures]
    write_table(results, args, time.monotonic() - start, args.out)
    for r in results:
        print(f"{r['name']}: {r['executed']} executions in {r['seconds']:.0f} s, cov {r['cov']} ft {r['ft']}, "
              f"finds: {', '.join(r['finds']) or 'none'}")
    return 1 if any(r["finds"] for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
