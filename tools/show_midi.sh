#!/usr/bin/env bash
# Shows MIDI input at work: a private JACK server (dummy driver), the built program on a copy of
# its folder under Xvfb (its sound then goes through the JACK server, recorded from its ports
# with jack_rec), and note-ons of several velocities sent to it by orvane-midi-send. Prints the
# peak level of each stroke in the recording (read with sox) and leaves screenshots of the strip with its key labels, of the "Keys ..." dialog and of
# the "Player" menu with its shortcuts.
#   tools/show_midi.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-/tmp/orvane-show-midi}")
rm -rf "$out" && mkdir -p "$out/tmp"
cp -r "$build/program" "$out/program"
rm -f "$out/program/orvane.ini"

export JACK_DEFAULT_SERVER="orvane-show-$$" JACK_NO_START_SERVER=1
export TMPDIR="$out/tmp" XDG_CACHE_HOME="$out/cache"
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 64 -w 1333 -C 0 -P 2 \
  >"$out/jackd.log" 2>&1 &
jack=$!
xvfb=""
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  kill "$jack" 2>/dev/null || true
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1

# Bells 13 and 14 are the set of a fresh settings file; their default notes are 64 and 65.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/sdl.raw" "$out/program/orvane" \
  >"$out/orvane.log" 2>&1 &
app=$!
sleep 5
# The program's sound, straight from its JACK ports.
jack_lsp | grep '^Orvane:out_' >"$out/ports.txt" || { echo "the program has no JACK output"; exit 1; }
jack_rec -f "$out/sound.wav" -d 22 -b 16 $(cat "$out/ports.txt") >"$out/jack_rec.log" 2>&1 &
recorder=$!
sleep 0.5

notes=(64:127:1500 65:127:1500 64:64:1500 65:64:1500 64:32:1500 50:127:4000)
"$build/tools/midisend/orvane-midi-send" "${notes[@]}" &
sender=$!
# While the sender's port is open the labels show the MIDI notes too.
sleep 10
import -window root "$out/strip.png"
wait "$sender"

# The "Keys ..." dialog through the menu "Bells" (its last item), with a bell chosen and the
# key of another bell pressed: the dialog refuses it and says why.
xdotool mousemove 59 8 click 1
sleep 0.7
import -window root "$out/menu.png"
xdotool mousemove 90 100 click 1
sleep 1
xdotool mousemove 640 300 click 1
sleep 0.3
xdotool key z
sleep 0.5
import -window root "$out/keys.png"
xdotool key Escape
sleep 0.5
# The "Player" menu with the shortcuts of its items.
xdotool mousemove 106 8 click 1
sleep 0.7
import -window root "$out/player.png"
xdotool key Escape
sleep 0.3
wait "$recorder" || true
kill "$app"
wait "$app" || true
app=""
sox "$out/sound.wav" -t raw -e floating-point -b 32 "$out/sound.raw"

# Each stroke is found as an onset (a 5 ms block louder than twice everything in the 100 ms
# before it); its level is the peak of the 300 ms after it. Note 50 has no bell in the set and
# must add no stroke.
python3 - "$out/sound.raw" <<'PY'
import array, math, sys
data = array.array('f')
with open(sys.argv[1], 'rb') as f:
    data.frombytes(f.read())
rate, block = 48000, 240
mono = [max(abs(data[i]), abs(data[i + 1])) for i in range(0, len(data) - 1, 2)]
peaks = [max(mono[i:i + block]) for i in range(0, len(mono), block)]
onsets = []
for k, p in enumerate(peaks):
    before = max(peaks[max(0, k - 20):k], default=0.0)
    if p > 1e-3 and p > 2 * before and (not onsets or k - onsets[-1] > 100):
        onsets.append(k)
sent = ["note 64 vel 127", "note 65 vel 127", "note 64 vel 64", "note 65 vel 64",
        "note 64 vel 32"]
print(f"{len(onsets)} strokes found (5 expected)")
for n, k in enumerate(onsets):
    level = max(peaks[k:k + 60])
    label = sent[n] if n < len(sent) else "unexpected"
    print(f"{label}: at {k * block / rate:6.2f} s, peak {level:.4f} ({20 * math.log10(level):.1f} dBFS)")
PY
sox -t raw -r 48000 -e floating-point -b 32 -c 2 "$out/sound.raw" -n stat 2>&1 | head -8
echo "screenshots: $out/strip.png $out/keys.png $out/player.png"
