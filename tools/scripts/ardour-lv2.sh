#!/usr/bin/env bash
# By hand, not in CI: Ardour 7, headless (ardour7-lua), loads each LV2 plug-in of the build's
# bundle by URI on a track fed by Ardour's own sine generator (SinGen, 1 kHz), lets it run,
# and prints the plug-in's control ports (its readings among them); then pevo-loudness measures a file of the same
# tone. Ardour's audio runs through a JACK server of this script's own, on the dummy driver.
#   bash tools/scripts/deps.sh ardour     (and a built tree: cmake --build build/linux)
# Usage: tools/scripts/ardour-lv2.sh [BUILD] [SECONDS] [DBFS]   (build/linux, 10, -36)
set -euo pipefail

build=$(realpath "${1:-build/linux}")
seconds=${2:-10}
dbfs=${3:--36}  # SinGen takes levels from -34 dB down as they are
for tool in ardour7-lua jackd python3; do
    command -v "$tool" >/dev/null || { echo "ardour-lv2.sh: $tool is missing" >&2; exit 2; }
done
for file in "$build/pevo.lv2/manifest.ttl" "$build/tools/loudness/pevo-loudness"; do
    [ -e "$file" ] || { echo "ardour-lv2.sh: $file is missing: build first" >&2; exit 2; }
done

work=$(mktemp -d)
jack_pid=""
trap '[ -z "$jack_pid" ] || kill "$jack_pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/lv2"
ln -s "$build/pevo.lv2" "$work/lv2/pevo.lv2"

# Each plug-in in a session of its own, on a JACK server of its own: the dummy server does
# not outlive a client's leaving for long.
uris=$(sed -n 's/^<\(.*\)>$/\1/p' "$build/pevo.lv2/manifest.ttl" | grep -v -- '-ui$')
for uri in $uris; do
    description=$(grep -l "<$uri>" "$build"/pevo.lv2/*.ttl | grep -v manifest.ttl)
    controls=$(grep -c 'lv2:ControlPort' "$description")
    server="pevo-ardour-$$-${#controls}-$controls"
    jackd -n "$server" --no-realtime --timeout 10000 -d dummy -r 48000 -p 1024 \
        >"$work/jackd.log" 2>&1 &
    jack_pid=$!
    sleep 2
    cat >"$work/session.lua" <<LUA
AudioEngine:set_backend("JACK", "", "")
create_session("$work/session-$jack_pid", "pevo", 48000)
local ok, err = pcall(function()
  local track = Session:new_audio_track(2, 2, nil, 1, "meter",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()
  local tone = ARDOUR.LuaAPI.new_plugin(Session, "SinGen", ARDOUR.PluginType.Lua, "")
  assert(not tone:isnil(), "no SinGen")
  track:add_processor_by_index(tone, 0, nil, true)
  ARDOUR.LuaAPI.set_processor_param(tone, 1, $dbfs)
  local meter = ARDOUR.LuaAPI.new_plugin(Session, "$uri", ARDOUR.PluginType.LV2, "")
  assert(not meter:isnil(), "Ardour cannot load $uri")
  track:add_processor_by_index(meter, 1, nil, true)
  local plugin = meter:to_insert():plugin(0)
  ARDOUR.LuaAPI.usleep($seconds * 1000000)
  print(plugin:name())
  for i = 0, $controls - 1 do
    print(string.format("  %-16s %.4f", plugin:parameter_label(i + 4),
                        ARDOUR.LuaAPI.get_processor_param(meter, i, true)))
  end
end)
if not ok then print("error: " .. tostring(err)) end
close_session()
LUA
    echo "Ardour, $uri, after $seconds s of 1 kHz at $dbfs dBFS:"
    JACK_DEFAULT_SERVER="$server" LV2_PATH="$work/lv2" ardour7-lua "$work/session.lua" 2>/dev/null |
        grep -v '^Butler' | tee "$work/out.txt"
    kill "$jack_pid"
    wait "$jack_pid" 2>/dev/null || true
    jack_pid=""
    if grep -q '^error:' "$work/out.txt"; then
        exit 1
    fi
done

# The same tone, as a 32-bit float stereo file, through pevo-loudness.
python3 - "$work/tone.wav" "$seconds" "$dbfs" <<'PY'
import math, struct, sys
path, seconds, dbfs = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
rate, amplitude = 48000, 10 ** (dbfs / 20)
frames = int(seconds * rate)
data = b"".join(struct.pack("<ff", s, s) for s in
                (amplitude * math.sin(2 * math.pi * 1000 * (i + 1) / rate) for i in range(frames)))
header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 3, 2,
                     rate, rate * 8, 8, 32, b"data", len(data))
open(path, "wb").write(header + data)
PY
echo "pevo-loudness, the same tone as a file:"
"$build/tools/loudness/pevo-loudness" "$work/tone.wav"
