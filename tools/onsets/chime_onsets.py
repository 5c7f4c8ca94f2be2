#!/usr/bin/env python3
"""Measures a raw recording of a chime (32-bit float stereo, 48 kHz, as SDL's disk driver
writes it) against the chime's step grid.

    chime_onsets.py <take.raw> <chime.kol> [bells|clicks]

Always: the peak in dBFS and the samples at or beyond full scale.
With clicks (every bell replaced by a short click): the onsets, each the first sample above a
threshold after at least 10 ms of silence, are placed on the grid of the chime's step interval
anchored at the first onset; per onset the distance in frames to its grid point is given as the
median with its minimum and maximum, and late steps are the sounding steps of the score without
an onset within one frame of their grid point (the recording may end before the score does:
only the steps up to the last onset count).
"""
import array
import math
import statistics
import sys

RATE = 48000


def read_chime(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = [line.rstrip("\r\n") for line in f]
    interval = int(lines[0].split(";")[0])
    sounding = []
    for index, line in enumerate(lines[1:]):
        marks = [m for m in line.split(",") if len(m) >= 2 and m[0] in "smb" and m[1].isdigit()]
        if len(line) > 1 and marks:
            sounding.append(index)
    return interval, sounding


def main():
    raw, kol = sys.argv[1], sys.argv[2]
    mode = sys.argv[3] if len(sys.argv) > 3 else "bells"
    samples = array.array("f")
    with open(raw, "rb") as f:
        samples.frombytes(f.read())
    peak = max((abs(s) for s in samples), default=0.0)
    clipped = sum(1 for s in samples if abs(s) >= 1.0)
    print(f"frames {len(samples) // 2}")
    print(f"peak_dbfs {20 * math.log10(max(peak, 1e-9)):.2f}")
    print(f"clipped_samples {clipped}")
    if mode != "clicks":
        return
    interval, sounding = read_chime(kol)
    step = interval * RATE // 1000
    onsets = []
    quiet_since = -RATE
    for frame in range(len(samples) // 2):
        if abs(samples[2 * frame]) > 0.05:
            if frame - quiet_since >= RATE // 100:
                onsets.append(frame)
            quiet_since = frame
    if not onsets:
        print("no onsets")
        return
    first = onsets[0]
    errors = []
    grid_steps = set()
    for onset in onsets:
        n = (onset - first + step // 2) // step
        error = abs(onset - first - n * step)
        errors.append(error)
        if error <= 1:
            grid_steps.add(n)
    # Score steps relative to the first sounding one, up to the last onset.
    last = (onsets[-1] - first + step // 2) // step
    expected = {s - sounding[0] for s in sounding if s - sounding[0] <= last}
    late = len(expected - grid_steps)
    print(f"interval_ms {interval}")
    print(f"onsets {len(onsets)} (score steps sounding up to the last onset: {len(expected)})")
    print(f"onset_error_frames {statistics.median(errors):g} (min {min(errors)}, max {max(errors)}, n {len(errors)})")
    print(f"late_steps {late}")


if __name__ == "__main__":
    main()
