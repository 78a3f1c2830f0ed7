#!/usr/bin/env bash
# Shows both CLAP meters in Qtractor (Debian 12) by hand, not in CI: a virtual display, JACK's
# dummy backend, and a throw-away home whose ~/.clap holds the freshly built Pevo.clap.
# Qtractor scans ~/.clap; the script adds an audio track, picks CLAP in the plug-in list,
# inserts "Pevo level meter" and "Pevo loudness meter" (their panels open), presses play,
# and saves screenshots: the plug-in list and the two panels.
# Usage: tools/scripts/qtractor-clap.sh [SCREENSHOT]   (default build/qtractor-clap.png)
# Playing needs the ALSA sequencer (/dev/snd/seq) besides JACK: without it Qtractor says its
# audio/MIDI engine could not start, yet still lists and hosts the plug-ins.
set -euo pipefail
cd "$(dirname "$0")/../.."
shot=$(realpath -m "${1:-build/qtractor-clap.png}")

bash tools/scripts/deps.sh linux qtractor
cmake --preset linux >/dev/null
cmake --build build/linux -j2 --target PevoClap

work=$(realpath -m build/qtractor)
rm -rf "$work"
mkdir -p "$work/home/.clap"
cp build/linux/Pevo.clap "$work/home/.clap/"
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
QT_QPA_PLATFORM=xcb qtractor >"$work/qtractor.log" 2>&1 &
pids+=($!)
sleep 12

# Points on the 1600 x 1000 screen where Qtractor 0.9.31 puts its menus and dialogs.
click() {
    xdotool mousemove "$1" "$2" click 1
    sleep "${3:-1}"
}
xdotool key Return # the engine's message, where there is no ALSA sequencer
sleep 1
click 98 8         # Track
click 140 29 2     # Add Track...
click 318 358      # Audio
click 379 228      # the Plugins tab
for row in 279 293; do
    click 666 262 6 # Add...: the plug-in list
    click 749 238   # the type box
    click 733 305 6 # CLAP
    [ "$row" = 279 ] && import -window root "${shot%.png}-list.png"
    click 350 "$row" 0.5 # the meter
    click 666 461 4      # OK: the meter is inserted and its panel opens
done
xdotool key space # play
sleep 5
import -window root "$shot"
echo "screenshots: ${shot%.png}-list.png, $shot"
