#!/usr/bin/env bash
# Shows both CLAP meters in Qtractor (Debian 12) by hand, not in CI: a virtual display, JACK's
# dummy backend, and a throw-away home whose ~/.clap holds the freshly built Pevo.clap.
# Qtractor scans ~/.clap; the script imports a 60 s stereo 1 kHz tone at -20 dBFS as an audio
# track, picks CLAP in the plug-in list, inserts "Pevo level meter" and "Pevo loudness meter"
# on that track (their panels open), sets the panels apart, presses play and saves
# screenshots: the plug-in list, the two panels while playing, and then Qtractor's own
# parameter views of both plug-ins beside them.
# Usage: tools/scripts/qtractor-clap.sh [SCREENSHOT]   (default build/qtractor-clap.png)
#        PEVO_CLAP=FILE tools/scripts/qtractor-clap.sh ...   shows an already built Pevo.clap
#        (another checkout's, for example) and neither configures nor builds this one.
# Playing needs the ALSA sequencer (/dev/snd/seq) besides JACK: without it Qtractor says its
# audio/MIDI engine could not start (the script answers the message and says so), yet still
# lists and hosts the plug-ins; nothing plays then, and the meters read nothing.
set -euo pipefail
clap=${PEVO_CLAP:+$(realpath -e "$PEVO_CLAP")}
cd "$(dirname "$0")/../.."
shot=$(realpath -m "${1:-build/qtractor-clap.png}")

if [ -z "$clap" ]; then
    bash tools/scripts/deps.sh linux qtractor
    cmake --preset linux >/dev/null
    cmake --build build/linux -j2 --target PevoClap
    clap=$(realpath build/linux/Pevo.clap)
else
    bash tools/scripts/deps.sh qtractor
fi

work=$(realpath -m build/qtractor)
rm -rf "$work"
mkdir -p "$work/home/.clap" "$(dirname "$shot")"
cp "$clap" "$work/home/.clap/Pevo.clap"
tone=$work/tone-1k-20dBFS.wav
python3 - "$tone" <<'PY'
import math, struct, sys, wave
rate, amplitude = 48000, 10 ** (-20 / 20)
one_second = b"".join(
    struct.pack("<hh", v, v)
    for v in (round(amplitude * 32767 * math.sin(2 * math.pi * 1000 * n / rate)) for n in range(rate)))
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(rate)
    out.writeframes(one_second * 60)
PY
export HOME=$work/home DISPLAY=:87
pids=()
cleanup() {
    # Qtractor ignores SIGTERM: each process is ended by its own id, Qtractor with SIGKILL.
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1600x1000x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
JACK_NO_AUDIO_RESERVATION=1 jackd -d dummy -r 48000 -p 512 >"$work/jack.log" 2>&1 &
pids+=($!)
sleep 3
# Run from the throw-away folder: Qtractor auto-saves its session into the current one.
(cd "$work" && QT_QPA_PLATFORM=xcb exec qtractor >"$work/qtractor.log" 2>&1) &
pids+=($!)
sleep 12

# Points on the 1600 x 1000 screen where Qtractor 0.9.31 puts its menus and dialogs.
click() {
    xdotool mousemove "$1" "$2" click 1
    sleep "${3:-1}"
}
# Moves the newest window whose title starts with $1 to $2,$3, unless that is window $4;
# Qtractor's parameter view of a plug-in has the same title as its panel.
placed=
place() {
    placed=$(xdotool search --onlyvisible --name "^$1" | sort -n | tail -1) || true
    if [ -z "$placed" ] || [ "$placed" = "${4:-}" ]; then
        echo "qtractor-clap.sh: no new window \"$1\" on the screen; see $work/qtractor.log" >&2
        import -window root "${shot%.png}-failed.png"
        exit 1
    fi
    xdotool windowmove "$placed" "$2" "$3"
    sleep 0.5
}
# Qtractor says "The audio/MIDI engine could not be started" at start and on play where there
# is no ALSA sequencer; the message waits for OK.
dismiss_engine_message() {
    if xdotool search --onlyvisible --name "^Error" >/dev/null; then
        echo "qtractor-clap.sh: Qtractor's audio/MIDI engine did not start (no ALSA sequencer?)" >&2
        xdotool key Return
        sleep 1
    fi
}
dismiss_engine_message
click 98 8             # Track
xdotool mousemove 146 327
sleep 1                # Import Tracks
click 405 327 3        # Audio...: the file dialog, its name field focused
xdotool type --delay 20 "$tone"
xdotool key Return     # a track with the tone's clip
sleep 4
for row in 279 293; do
    xdotool mousemove 179 185 click 3 # the track's plug-in list in its mixer strip
    sleep 1
    click 243 195 4  # Add Plugin...: the plug-in list
    place Plugins 292 224
    click 749 238    # the type box
    click 733 305 6  # CLAP
    [ "$row" = 279 ] && import -window root "${shot%.png}-list.png"
    click 350 "$row" 0.5 # the meter
    click 666 461 4      # OK: the meter is inserted and its panel opens
done
place "Pevo level meter" 700 0
level_panel=$placed
place "Pevo loudness meter" 800 210
loudness_panel=$placed
click 240 77 8 # play
import -window root "$shot"
dismiss_engine_message
xdotool mousemove 175 180 click 3 # the level meter in the mixer strip
sleep 1
click 237 442 2 # Properties...: Qtractor's parameter view
place "Pevo level meter" 0 760 "$level_panel"
xdotool mousemove 175 196 click 3 # the loudness meter
sleep 1
click 237 458 2 # Properties...
place "Pevo loudness meter" 490 600 "$loudness_panel"
import -window root "${shot%.png}-parameters.png"
echo "screenshots: ${shot%.png}-list.png, $shot, ${shot%.png}-parameters.png"
