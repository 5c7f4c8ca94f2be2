#!/usr/bin/env python3
"""Rings the great bells of a library chime along with the program, under an X server, with
xdotool: the program rings nothing itself for the great bells; this script strikes them on the
keys Z and X, some strokes on time, some late, one missed and one extra, then saves screenshots
of the marked score and of the result window, and prints the practice history row it wrote.

Run under Xvfb:
    xvfb-run -a -s "-screen 0 1280x800x24" python3 tools/ring_along_demo.py build/program /tmp/ring-along
"""
import csv
import os
import shutil
import subprocess
import sys
import time

PROGRAM = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/program")
OUT = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "/tmp/ring-along")

# Positions on a 1280 x 800 screen with the window at 0, 0 and no window manager.
GREAT_CHIME_BOX = (1018, 606)
TEMPO_DOWN = (533, 786)
RING_ALONG_BUTTON = (758, 786)
START = (1040, 252)
TEMPO_CLICKS = 6            # 144 ms per step -> 294 ms
KEYS = {"b1": "z", "b2": "x"}
COUNT_IN_STEPS = 4
LOOK_AHEAD_MS = 20

CHIME = "study/great/two_alternate.kol"  # the fourth entry of the great bells' chime box
# Offsets in ms from each note's time, by the note's index among the chime's great-bell notes;
# None leaves the note out. Notes not listed are struck on time.
OFFSETS = {3: 35, 5: None, 6: 70, 9: 35, 11: 70}
EXTRA_AFTER_NOTE = 8        # one stroke half-way between this note and the next
SHOT_AT_STEP = 62           # the first page of the score is fully decided here
STOP = (1180, 252)
RESULT_CLOSE = (1078, 737)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False)


class Xdo:
    """One xdotool process that reads its commands from a pipe: timed strokes then reach the X
    server without the start-up of a process each (tens of milliseconds on a busy machine)."""

    def __init__(self):
        self.proc = subprocess.Popen(["xdotool", "-"], stdin=subprocess.PIPE, text=True)

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=10)


def click(point, settle=0.4):
    xdo("mousemove", str(point[0]), str(point[1]), "click", "1")
    time.sleep(settle)


def shot(name):
    path = os.path.join(OUT, name)
    subprocess.run(["import", "-window", "root", path], check=False)
    print("screenshot", path)
    return path


def chime_notes(program):
    """(step, bell) of every great-bell mark of the chime, bell as "b1", "b2"."""
    with open(os.path.join(program, "..", "..", "data", "Chime", CHIME), "rb") as f:
        lines = f.read().decode("cp1251").splitlines()[1:]
    notes = []
    for step, line in enumerate(lines):
        for mark in line.split(","):
            if len(mark) >= 2 and mark[0] == "b" and mark[1].isdigit():
                notes.append((step, mark[:2]))
    return notes


def ring_pass(xdo_pipe, notes, interval_ms, offsets, extra_after, note_count, correction_ms, shot_at_step):
    """Starts a pass and strikes the first note_count notes; Stop after the last one."""
    # Start: the count-in's first beat comes a look-ahead after the click, step 0 a bar later.
    xdo_pipe.send("mousemove %d %d" % START)
    time.sleep(0.3)
    start = time.monotonic()
    xdo_pipe.send("click 1")
    step0 = start + (LOOK_AHEAD_MS + COUNT_IN_STEPS * interval_ms + correction_ms) / 1000.0
    strokes = []
    for index, (step, bell) in enumerate(notes[:note_count]):
        offset = offsets.get(index, 0)
        if offset is not None:
            strokes.append((step * interval_ms + offset, bell, "note %d step %d %+d ms" % (index, step, offset)))
        if index == extra_after and index + 1 < len(notes):
            between = (step + notes[index + 1][0]) / 2.0
            strokes.append((between * interval_ms, bell, "extra at step %.1f" % between))
    strokes.sort()
    last_step = notes[min(note_count, len(notes)) - 1][0]
    for at_ms, bell, what in strokes:
        due = step0 + at_ms / 1000.0
        if shot_at_step is not None and due > step0 + shot_at_step * interval_ms / 1000.0:
            time.sleep(max(0.0, step0 + shot_at_step * interval_ms / 1000.0 - time.monotonic()))
            shot("score-page1.png")
            shot_at_step = None
        while time.monotonic() < due - 0.003:
            time.sleep(0.001)
        while time.monotonic() < due:
            pass
        xdo_pipe.send("key " + KEYS[bell])
        print("struck", bell, what)
    time.sleep(max(0.0, step0 + (last_step + 4) * interval_ms / 1000.0 - time.monotonic()))
    if shot_at_step is None:
        shot("score-page2.png")
    click(STOP, 1.5)


def main():
    os.makedirs(OUT, exist_ok=True)
    prog = os.path.join(OUT, "program")
    shutil.rmtree(prog, ignore_errors=True)
    shutil.copytree(PROGRAM, prog, symlinks=True)
    home = os.path.join(OUT, "home")
    tmp = os.path.join(OUT, "tmp")
    os.makedirs(home, exist_ok=True)
    os.makedirs(tmp, exist_ok=True)
    # A bell set of the two heaviest great bells.
    with open(os.path.join(prog, "orvane.ini"), "wb") as ini:
        ini.write(b"[Serial]\r\nBells=110000000000000\r\nTypes=bbnnnnnnnnnnnnn\r\n"
                  b"[Form]\r\nLeft=0\r\nTop=0\r\nWidth=1280\r\nHeight=800\r\n")
    env = dict(os.environ, HOME=home, TMPDIR=tmp, XDG_DATA_HOME=os.path.join(home, "data"),
               ORVANE_SILENT_OUTPUT="1")
    log = open(os.path.join(OUT, "program.log"), "w")
    proc = subprocess.Popen([os.path.join(prog, "orvane")], env=env, stdout=log, stderr=log)
    try:
        # The main window is up once xdotool finds it; then the start-up settles.
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--name", "Orvane"], capture_output=True, text=True)
            if found.stdout.strip():
                break
            time.sleep(0.5)
        time.sleep(4)
        click(GREAT_CHIME_BOX)
        xdo("key", "Down", "Down", "Down", "Down", "Return")
        time.sleep(0.8)
        for _ in range(TEMPO_CLICKS):
            click(TEMPO_DOWN, 0.15)
        interval_ms = 144 + 25 * TEMPO_CLICKS
        click(RING_ALONG_BUTTON, 1.0)
        shot("panel.png")
        history = os.path.join(home, "data", "Orvane", "practice-history.csv")
        notes = chime_notes(PROGRAM)
        # A first pass, struck on time, finds how late this script's strokes reach the program
        # (process start-up of xdotool, the click's handling): the second pass corrects for it.
        pipe = Xdo()
        ring_pass(pipe, notes, interval_ms, {}, None, 4, 0.0, None)
        with open(history, newline="") as f:
            lag = float(list(csv.reader(f))[-1][11])
        print("first pass: mean error %+.1f ms" % lag)
        click(RESULT_CLOSE, 0.8)
        ring_pass(pipe, notes, interval_ms, OFFSETS, EXTRA_AFTER_NOTE, len(notes), -lag, SHOT_AT_STEP)
        pipe.close()
        time.sleep(1.0)
        shot("result.png")
        print("history", history)
        with open(history) as f:
            print(f.read())
    finally:
        proc.terminate()
        proc.wait(timeout=20)


if __name__ == "__main__":
    main()
