#!/usr/bin/env bash
# Runs Windows programs under Wine in the project's throw-away prefix.
# Usage: wine-run.sh PROGRAM [ARGS...]   run a program (the tests' cross-compiling emulator)
#        wine-run.sh --start             create the prefix if missing, keep its server up
#        wine-run.sh --stop              shut the prefix's server down
#        wine-run.sh --fresh             remove the prefix (the next start creates it anew)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${PEVO_WINEPREFIX:-$root/build/wine-prefix}
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

start_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Tests run in parallel: one of them makes the prefix, the others wait for it.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 9>&-
        touch "$WINEPREFIX/.ready"
    fi
    # The server and the prefix's services outlive the programs (by a minute, or until
    # --stop). They must not hold the programs' output open, or whoever reads it (CTest)
    # would wait for them.
    if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then  # fails when already up
        wine wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
    flock -u 9
}

case "${1:-}" in
--start) start_prefix ;;
--stop) wineserver -k 2>/dev/null || true ;;
--fresh)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
    ;;
"")
    echo "usage: $0 PROGRAM [ARGS...] | --start | --stop | --fresh" >&2
    exit 2
    ;;
*)
    start_prefix
    # Programs see the plug-in path the Windows way; drive Z: is the Unix root.
    if [ -n "${PEVO_PLUGIN:-}" ] && [ "${PEVO_PLUGIN#/}" != "$PEVO_PLUGIN" ]; then
        export PEVO_PLUGIN="Z:${PEVO_PLUGIN//\//\\}"
    fi
    exec wine "$@"
    ;;
esac
