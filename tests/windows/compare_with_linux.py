"""Runs mirtil-host.exe and its module under wine64, headless, on the
examples and on scripts that reach every host command, beside this
system's mirtil-host on the same inputs, and checks that both answer the
same exit status and write the same bytes: saved SVG files, JSON dumps,
animations, seam-free copies and preferences files.
Usage: compare_with_linux.py LINUX_HOST WINDOWS_HOST WINE WINESERVER WINEPREFIX EXAMPLES WORK"""

import glob
import os
import shutil
import subprocess
import sys
import unittest

LINUX_HOST, WINDOWS_HOST, WINE, WINESERVER, PREFIX, EXAMPLES, WORK = [None] * 7

# A drawing with the host's edits, undo, unloading, the about box, timers
# and an injected failure.
HOST_EDITS = r'''
rect 0 0 200 160 fill=#fefae0 id=paper
circle 60 60 30 fill=#d62828 stroke=#003049 width=2 id=disc
path "M 120 20 C 160 20 180 60 150 100 Z" fill=rgb(40,160,90) id=leaf
layer "Top"
rect 20 100 60 30 fill=#fcbf49 id=bar
drag 60 60 110 60 moves=6
expect objects 1
select @last
drag 110 60 60 20 moves=5
cursor 60 60
move bar 10 -5
transform leaf 0.9 0.1 -0.1 0.9 12 4
paint disc fill=#0077b6 stroke=none
edit-point @last 1 100 70
undo
redo
hide "Top"
show "Top"
lock "Top"
drag 30 30 80 30
expect alert "Current layer either locked or hidden"
unlock "Top"
current "Layer 1"
select none
prefs steps=8 delay=1 type=0
menu "Rotate Mirrortiles"
wait 1.3
menu "Rotate Mirrortiles"
about
unload
reload
fail "AI Art Suite" NewArt 'PARM' nth=3
drag 150 120 190 120
expect result '!MEM'
select none
options steps=20 delay=3 type=sweep cancel
expect result 'STOP'
'''

# Name, the commands run one after another in one folder, the files
# written; the examples lie in the folder beside the scripts above.
CASES = [
    ("kaleidoscope", [["run", "kaleidoscope.mirtil", "--save", "k.svg", "--dump", "k.json", "--prefs", "p"]],
     ["k.svg", "k.json", "p"]),
    ("animation", [["run", "animation.mirtil", "--open", "garden.svg", "--save", "a.svg", "--dump", "a.json",
                    "--prefs", "p"]], ["a.svg", "a.json", "p"]),
    ("refusals", [["run", "refusals.mirtil", "--save", "r.svg", "--dump", "r.json", "--prefs", "p"]],
     ["r.svg", "r.json"]),
    ("preferences", [["run", "preferences.mirtil", "--prefs", "my-prefs", "--dump", "prefs.json"]],
     ["my-prefs", "prefs.json"]),
    ("host-edits", [["run", "host-edits.mirtil", "--save", "e.svg", "--dump", "e.json", "--prefs", "p"]],
     ["e.svg", "e.json", "p"]),
    ("make-and-animate", [["make", "tiles.svg", "tiles-made.svg", "--press", "120,120", "--release", "200,120",
                           "--type", "1", "--dump", "t.json", "--prefs", "p"],
                          ["animate", "tiles-made.svg", "tiles-anim.svg", "--prefs", "p"]],
     ["tiles-made.svg", "t.json", "tiles-anim.svg"]),
    ("make-turned", [["make", "garden.svg", "g.svg", "--press", "150,140", "--release", "210,140",
                      "--turn", "210,140,150,80", "--dump", "g.json", "--export-seam-free", "seam-free.svg",
                      "--prefs", "p"]], ["g.svg", "g.json", "seam-free.svg"]),
    # Names beyond ASCII: UTF-8 here, wide paths on Windows.
    ("unicode-names", [["make", "tiles.svg", "Kaléidoscope ✓ 鏡.svg", "--press", "120,120", "--release", "170,120",
                        "--dump", "Ünïcode.json", "--prefs", "préfs"],
                       ["run", "nothing.mirtil", "--open", "Kaléidoscope ✓ 鏡.svg", "--save", "Écrit ✓.svg",
                        "--prefs", "préfs"]],
     ["Kaléidoscope ✓ 鏡.svg", "Ünïcode.json", "Écrit ✓.svg"]),
    # Refused: a bad script line, a missing file, modules that are missing or no library.
    ("bad-input", [["run", "broken.mirtil", "--prefs", "p"],
                   ["make", "missing.svg", "out.svg", "--press", "1,1", "--release", "50,1", "--prefs", "p"],
                   ["run", "nothing.mirtil", "--plugin", "missing.aip", "--prefs", "p"],
                   ["run", "nothing.mirtil", "--plugin", "garden.svg", "--prefs", "p"]], []),
]


def environment():
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)  # headless: nothing opens a window
    env["XDG_CONFIG_HOME"] = os.path.join(WORK, "config")
    return env


def start_wine():
    """Makes the prefix on the first start; wineboot may take minutes and
    needs no network with the runtime installers left out."""
    if os.path.exists(os.path.join(PREFIX, "system.reg")):
        return
    for _ in range(2):
        result = subprocess.run([WINE, "wineboot", "--init"], env=environment(), capture_output=True, timeout=900)
        subprocess.run([WINESERVER, "-w"], env=environment(), timeout=300)
        if os.path.exists(os.path.join(PREFIX, "system.reg")):
            return
    raise RuntimeError("wineboot made no prefix: " + result.stderr.decode(errors="replace")[-2000:])


def folder(name, side):
    path = os.path.join(WORK, name, side)
    shutil.rmtree(path, ignore_errors=True)
    shutil.copytree(EXAMPLES, path)
    with open(os.path.join(path, "host-edits.mirtil"), "w") as script:
        script.write(HOST_EDITS)
    with open(os.path.join(path, "nothing.mirtil"), "w") as script:
        script.write("# reads and writes\n")
    with open(os.path.join(path, "broken.mirtil"), "w") as script:
        script.write("rect 0 0 10 ten\n")
    return path


def run(side, args, cwd):
    command = [LINUX_HOST] + args if side == "linux" else [WINE, WINDOWS_HOST] + args
    return subprocess.run(command, cwd=cwd, env=environment(), capture_output=True, timeout=600)


def read(path):
    with open(path, "rb") as file:
        return file.read()


class WindowsHostMatchesLinux(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        start_wine()

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINESERVER, "-k"], env=environment(), timeout=60)

    def test_every_case_writes_the_same_bytes(self):
        for name, commands, outputs in CASES:
            with self.subTest(case=name):
                folders = {side: folder(name, side) for side in ("linux", "windows")}
                for args in commands:
                    linux = run("linux", args, folders["linux"])
                    windows = run("windows", args, folders["windows"])
                    detail = " ".join(args) + "\n" + (linux.stderr + windows.stderr).decode(errors="replace")
                    self.assertEqual(windows.returncode, linux.returncode, detail)
                for output in outputs:
                    made = read(os.path.join(folders["linux"], output))
                    self.assertGreater(len(made), 0, output)
                    self.assertEqual(read(os.path.join(folders["windows"], output)), made, output)

    def test_preferences_default_to_the_users_application_data(self):
        # Linux: $XDG_CONFIG_HOME/mirrortile/prefs; Windows: %APPDATA%\mirrortile\prefs.
        kept = glob.glob(os.path.join(PREFIX, "drive_c", "users", "*", "AppData", "Roaming", "mirrortile"))
        for path in kept:
            shutil.rmtree(path)
        shutil.rmtree(os.path.join(WORK, "config"), ignore_errors=True)
        args = ["run", "preferences.mirtil"]
        linux = run("linux", args, folder("application-data", "linux"))
        windows = run("windows", args, folder("application-data", "windows"))
        self.assertEqual((linux.returncode, windows.returncode), (0, 0), (linux.stderr + windows.stderr).decode())
        written = glob.glob(os.path.join(PREFIX, "drive_c", "users", "*", "AppData", "Roaming", "mirrortile", "prefs"))
        self.assertEqual(len(written), 1)
        self.assertEqual(read(written[0]), read(os.path.join(WORK, "config", "mirrortile", "prefs")))


if __name__ == "__main__":
    LINUX_HOST, WINDOWS_HOST, WINE, WINESERVER, PREFIX, EXAMPLES, WORK = [os.path.abspath(a) for a in sys.argv[1:8]]
    del sys.argv[1:8]
    os.makedirs(WORK, exist_ok=True)
    unittest.main(verbosity=2)
