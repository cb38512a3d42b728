#!/usr/bin/env python3
"""Mutation check: makes each small change to the plug-in's code listed in
scripts/mutants.txt, one at a time, builds in a build folder of its own,
runs the tests (stopping at the first failure) and puts the file back.
Prints the changes no test noticed and the figure "N of M changes noticed".

    python3 scripts/mutants.py [--build DIR] [--jobs N] [--list FILE] [--check] [NAME...]

NAME picks entries of the list by name; by default all of them run.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FIELDS = ("name", "file", "from", "to")


def read_list(path):
    """The entries of the list: blocks of `name:`, `file:`, `from:` and `to:`
    lines, separated by blank lines; `#` lines are comments. The texts are
    taken exactly as written after the field's colon and one blank."""
    entries, entry = [], {}
    lines = path.read_text().splitlines() + [""]
    for number, line in enumerate(lines, 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if entry:
                missing = [field for field in FIELDS if field not in entry]
                if missing:
                    sys.exit(f"{path}:{number}: entry {entry.get('name', '?')} lacks {', '.join(missing)}")
                entries.append(entry)
                entry = {}
            continue
        field, colon, value = line.partition(":")
        if not colon or field not in FIELDS or field in entry:
            sys.exit(f"{path}:{number}: expected one of {', '.join(f + ':' for f in FIELDS)}")
        entry[field] = value[1:] if value.startswith(" ") else value
    names = [entry["name"] for entry in entries]
    doubled = {name for name in names if names.count(name) > 1}
    if doubled:
        sys.exit(f"{path}: names used twice: {', '.join(sorted(doubled))}")
    return entries


def check_applies(entry):
    """The original text must occur exactly once, so the change is the one meant."""
    text = (ROOT / entry["file"]).read_text()
    count = text.count(entry["from"])
    if count != 1:
        return f"{entry['name']}: the original text occurs {count} times in {entry['file']}"
    if entry["from"] == entry["to"]:
        return f"{entry['name']}: the replacement is the original text"
    return None


def run(command, log, seconds=None, failed_mark=None):
    """Runs the command with its output in the log; True when it succeeds.
    Past the seconds given, or once the log shows the failed mark, the
    command and all it started are ended, and that counts as failing."""
    deadline = time.monotonic() + seconds if seconds else None
    with open(log, "w") as out:
        process = subprocess.Popen(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            while True:
                try:
                    return process.wait(timeout=1) == 0
                except subprocess.TimeoutExpired:
                    pass
                if failed_mark and failed_mark in log.read_bytes():
                    return False
                if deadline and time.monotonic() > deadline:
                    out.write(f"\nended after {seconds} s\n")
                    return False
        finally:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


def first_failure(log):
    """The name of the test that failed first, as CTest reported it in the log."""
    text = log.read_text(errors="replace")
    found = re.search(r"Test +#\d+: (.+?) ?\.*\*\*\*", text)
    if found:
        return found.group(1)
    return "the time limit" if "\nended after " in text else "CTest's exit status"


class Restorer:
    """Puts the changed file back when the block ends, however it ends
    (also on Ctrl-C and on the termination signal)."""

    def __init__(self, path):
        self.path = path
        self.original = path.read_bytes()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.path.write_bytes(self.original)
        return False


def terminate(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-mutants", help="build folder (default build-mutants)")
    parser.add_argument("--jobs", default=os.environ.get("JOBS", "2"), help="build and test jobs")
    parser.add_argument("--list", default=str(ROOT / "scripts" / "mutants.txt"), help="the list of changes")
    parser.add_argument("--check", action="store_true", help="only check that every entry applies")
    parser.add_argument("names", nargs="*", help="run only these entries")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, terminate)

    entries = read_list(Path(args.list))
    if args.names:
        unknown = set(args.names) - {entry["name"] for entry in entries}
        if unknown:
            sys.exit(f"not in the list: {', '.join(sorted(unknown))}")
        entries = [entry for entry in entries if entry["name"] in args.names]
    stale = [problem for problem in map(check_applies, entries) if problem]
    if stale:
        sys.exit("\n".join(stale))
    if args.check:
        print(f"{len(entries)} changes, each applying once")
        return 0

    build = ROOT / args.build
    logs = build / "mutants"
    configure = ["cmake", "-S", ".", "-B", str(build), "-DCMAKE_BUILD_TYPE=RelWithDebInfo"]
    compile_all = ["cmake", "--build", str(build), "-j", args.jobs]
    test = ["ctest", "--test-dir", str(build), "-j", args.jobs, "--stop-on-failure"]
    # A change can make a test run without end; the whole suite takes seconds.
    # CTest marks a test that failed, ran out of time or crashed with ***;
    # the tests still running then need not finish.
    test_seconds = 120
    failed_mark = b"***"

    # The unchanged code must build and pass, or every change would seem noticed.
    build.mkdir(exist_ok=True)
    logs.mkdir(exist_ok=True)
    print(f"unchanged code: building and testing in {args.build}", flush=True)
    if not (run(configure, logs / "configure.log") and run(compile_all, logs / "unchanged-build.log")):
        sys.exit(f"the unchanged code does not build: see {logs / 'unchanged-build.log'}")
    if not run(test, logs / "unchanged-test.log", test_seconds, failed_mark):
        sys.exit(f"the unchanged code fails its tests: see {logs / 'unchanged-test.log'}")

    survivors, unbuilt = [], []
    started = time.monotonic()
    try:
        for number, entry in enumerate(entries, 1):
            path = ROOT / entry["file"]
            begun = time.monotonic()
            with Restorer(path) as restorer:
                path.write_bytes(restorer.original.replace(entry["from"].encode(), entry["to"].encode(), 1))
                if not run(compile_all, logs / f"{entry['name']}.build.log"):
                    outcome = "does not build"
                    unbuilt.append(entry)
                elif run(test, logs / f"{entry['name']}.test.log", test_seconds, failed_mark):
                    outcome = "NOT NOTICED"
                    survivors.append(entry)
                else:
                    outcome = f"noticed by {first_failure(logs / (entry['name'] + '.test.log'))}"
            print(f"[{number}/{len(entries)}] {entry['name']} ({entry['file']}): {outcome}, "
                  f"{time.monotonic() - begun:.0f} s", flush=True)
    except KeyboardInterrupt:
        print("stopped; the file changed last is restored", file=sys.stderr)
        return 130

    tried = len(entries) - len(unbuilt)
    print(f"\n{time.monotonic() - started:.0f} s")
    for entry in unbuilt:
        print(f"does not build (mend the list): {entry['name']} in {entry['file']}")
    for entry in survivors:
        print(f"not noticed: {entry['name']} in {entry['file']}: {entry['from'].strip()!r} -> {entry['to'].strip()!r}")
    print(f"{tried - len(survivors)} of {tried} changes noticed")
    return 1 if survivors or unbuilt else 0


if __name__ == "__main__":
    sys.exit(main())
