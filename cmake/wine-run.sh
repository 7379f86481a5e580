#!/bin/sh
# Runs a Windows program under Wine in the prefix named by VORNIK_WINE_PREFIX, or else in the
# build tree's own prefix (made on first use; a lock keeps parallel first runs from racing).
# Exits 77 (skipped) when Wine is not installed or no prefix can be made.
set -u
if ! command -v wine > /dev/null 2>&1; then
    echo "Skipped: wine is not installed"
    exit 77
fi
prefix=${VORNIK_WINE_PREFIX:-}
if [ -z "$prefix" ]; then
    dir=$(pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ -f "$dir/CMakeCache.txt" ] || dir=$(pwd)
    prefix="$dir/wine-prefix"
fi
export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
if [ ! -s "$prefix/user.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -s "$prefix/user.reg" ]; then
            wineboot -i > "$prefix.log" 2>&1 && wineserver -w
        fi
    ) 9> "$prefix.lock"
    if [ ! -s "$prefix/user.reg" ]; then
        echo "Skipped: no Wine prefix could be made (see $prefix.log)"
        exit 77
    fi
fi
exec wine "$@"
