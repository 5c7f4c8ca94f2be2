#!/bin/bash
# Records a whole chime played by the real program through SDL's disk driver under Xvfb while
# two busy processes compete for the cores, then measures the recording.
#
#   record_chime.sh <built program folder> <work folder> [clicks]
#
# The program folder is copied to <work folder>/program with every bell of the set in use and
# "Трезвон праздничный" is chosen from the common chime list and played with the window's own
# controls (xdotool), as a user would. With "clicks", every bell sound of the copy is replaced by
# a 3 ms click, so that the onsets can be told apart in the raw output. The raw recording
# (32-bit float stereo, 48 kHz) is <work folder>/take.raw; chime_onsets.py measures it.
set -euo pipefail
source_dir=$1
work=$2
mode=${3:-bells}
seconds=${SECONDS_TO_RECORD:-50}
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work/program" "$work/run"
mkdir -p "$work/run"
cp -r "$source_dir" "$work/program"
printf '[Serial]\nBells=111111111111111\nTypes=bbbbbmmmmmmmsss\n[Settings]\nGrid=0\nStereo=1\nAnimate=1\nNotes=1\nView=0\n' \
    >"$work/program/orvane.ini"
if [ "$mode" = clicks ]; then
    sox -n -r 48000 -c 2 -b 16 "$work/click.wav" synth 0.003 square 500 vol 0.5
    for f in "$work"/program/Sound/*/*.wav; do cp "$work/click.wav" "$f"; done
fi

cat >"$work/run/session.sh" <<SESSION
#!/bin/bash
export TMPDIR="$work/run" ORVANE_PROGRAM_FOLDER="$work/program"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/take.raw"
"$work/program/orvane" &
program=\$!
sleep 6
yes >/dev/null & busy1=\$!
yes >/dev/null & busy2=\$!
xdotool mousemove 225 203 click 1     # the common chime list
sleep 1
xdotool mousemove 90 446 click 1      # "Трезвон праздничный"
sleep 2
xdotool mousemove 60 566 click 1      # Play
sleep 10
import -window root "$work/playing.png"
sleep $((seconds - 10))
kill \$busy1 \$busy2
kill \$program
wait \$program || true
SESSION
chmod +x "$work/run/session.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$work/run/session.sh" >"$work/run/log.txt" 2>&1 || true
python3 "$here/chime_onsets.py" "$work/take.raw" "$here/../../data/Chime/common/trezvon_festive.kol" "$mode"
