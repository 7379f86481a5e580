#!/bin/sh
# Runs a command on a display of its own: a fresh Xvfb that picks a free display number itself.
# Exits 77 (skipped) when no Xvfb can start; otherwise with the command's status. With
# VORNIK_WINE_PREFIX set, the prefix's Wine server is stopped before the display goes away.
set -u
if ! command -v Xvfb > /dev/null 2>&1; then
    echo "Skipped: Xvfb is not installed"
    exit 77
fi
dir=$(mktemp -d)
server=
finish() {
    if [ -n "${VORNIK_WINE_PREFIX:-}" ] && command -v wineserver > /dev/null 2>&1; then
        WINEPREFIX="$VORNIK_WINE_PREFIX" wineserver -k > /dev/null 2>&1
        WINEPREFIX="$VORNIK_WINE_PREFIX" wineserver -w > /dev/null 2>&1
    fi
    [ -n "$server" ] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    rm -rf "$dir"
}
trap finish EXIT
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$dir/display" 2> "$dir/xvfb.log" &
server=$!
if ! read -r number < "$dir/display"; then
    echo "Skipped: Xvfb did not start: $(cat "$dir/xvfb.log")"
    exit 77
fi
export DISPLAY=":$number"
"$@"
