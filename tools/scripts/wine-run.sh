#!/usr/bin/env bash
# Runs Windows programs under Wine in the project's throw-away prefix.
# Usage: wine-run.sh PROGRAM [ARGS...]   run a program (the tests' cross-compiling emulator)
#        wine-run.sh --can-run-32-bit    whether this machine runs 32-bit Windows programs
#        wine-run.sh --start             create the prefix if missing, keep it up until --stop
#        wine-run.sh --stop              shut the prefix's server down
#        wine-run.sh --fresh             remove the prefix (the next start creates it anew)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${PEVO_WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's wine starts its 32-bit loader whenever it is installed, and that fails on a
# kernel that runs no 32-bit programs: there, 64-bit Wine serves alone, and 32-bit
# Windows programs cannot run at all.
wine=wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    wine=$WINELOADER
fi

start_prefix() {
    mkdir -p "$WINEPREFIX"
    # Tests run in parallel: one of them makes the prefix, the others wait for it.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    # The server and the prefix's services outlive the programs (by a minute, or until
    # --stop), so that each program starts quickly. Started first: a server that a
    # program started would end with it. None of them may hold the programs' output
    # open, or whoever reads it (CTest) would wait for them.
    local started=false
    if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then  # fails when already up
        started=true
    fi
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        make_prefix
        touch "$WINEPREFIX/.ready"
    elif $started; then
        "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
    flock -u 9
}

# Makes the prefix, once more from nothing if the first try fails; says why when the
# second fails too, since its output is otherwise kept from the programs' own.
make_prefix() {
    local log="$WINEPREFIX.boot.log"
    local try
    for try in 1 2; do
        if "$wine" wineboot -i </dev/null >"$log" 2>&1 9>&-; then
            return 0
        fi
        echo "wine-run.sh: making the prefix failed (try $try); its output:" >&2
        tail -n 20 "$log" >&2
        wineserver -k 2>/dev/null || true
        find "$WINEPREFIX" -mindepth 1 -delete
        wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
    done
    return 1
}

# Wine closes its desktop a moment after the last program that uses it ends; a window
# program starting just then waits many seconds for a new one. A program that waits for
# input on a pipe nobody writes keeps the desktop open until --stop.
keep_desktop() {
    local pipe="$WINEPREFIX/.desktop-keeper"
    rm -f "$pipe"
    mkfifo "$pipe"
    "$wine" cmd /c pause 0<>"$pipe" >/dev/null 2>&1 &
}

case "${1:-}" in
--start)
    start_prefix
    keep_desktop
    ;;
--stop) wineserver -k 2>/dev/null || true ;;
--can-run-32-bit) /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
--fresh)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock" "$WINEPREFIX.boot.log"
    ;;
"")
    echo "usage: $0 PROGRAM [ARGS...] | --start | --stop | --fresh" >&2
    exit 2
    ;;
*)
    start_prefix
    # Programs see the plug-in paths the Windows way; drive Z: is the Unix root.
    if [ -n "${PEVO_PLUGIN:-}" ] && [ "${PEVO_PLUGIN#/}" != "$PEVO_PLUGIN" ]; then
        export PEVO_PLUGIN="Z:${PEVO_PLUGIN//\//\\}"
    fi
    if [ -n "${PEVO_CLAP:-}" ] && [ "${PEVO_CLAP#/}" != "$PEVO_CLAP" ]; then
        export PEVO_CLAP="Z:${PEVO_CLAP//\//\\}"
    fi
    exec "$wine" "$@"
    ;;
esac
