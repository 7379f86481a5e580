#!/bin/sh
# One throw-away Wine prefix per test run for the peer tests.
#   wine_prefix.sh setup DIR    makes DIR/prefix with wineboot, or writes DIR/UNAVAILABLE with why
#   wine_prefix.sh run DIR PROGRAM
#                               runs a Windows PROGRAM in DIR/prefix and stops the server after it,
#                               so the hive is on disk again; exit 77 (skipped) when Wine is absent
#   wine_prefix.sh cleanup DIR  stops its wineserver and removes DIR
set -u
mode=$1
dir=$2
prefix="$dir/prefix"

unavailable() {
    echo "$1" > "$dir/UNAVAILABLE"
    echo "Wine peer tests will be skipped: $1"
    exit 0
}

case "$mode" in
setup)
    rm -rf "$dir"
    mkdir -p "$dir"
    for tool in wine wineboot wineserver; do
        command -v "$tool" > /dev/null 2>&1 || unavailable "$tool is not installed"
    done
    export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all
    wineboot -i > "$dir/wineboot.log" 2>&1 || unavailable "wineboot failed (see $dir/wineboot.log)"
    wineserver -w
    [ -s "$prefix/user.reg" ] || unavailable "wineboot made no user.reg (see $dir/wineboot.log)"
    echo "Wine prefix ready: $prefix"
    ;;
run)
    if [ -f "$dir/UNAVAILABLE" ]; then
        echo "Skipped: $(cat "$dir/UNAVAILABLE")"
        exit 77
    fi
    export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all
    wine "$3"
    status=$?
    wineserver -k > /dev/null 2>&1
    wineserver -w
    exit $status
    ;;
cleanup)
    if [ -d "$prefix" ] && command -v wineserver > /dev/null 2>&1; then
        WINEPREFIX="$prefix" wineserver -k > /dev/null 2>&1
        WINEPREFIX="$prefix" wineserver -w > /dev/null 2>&1
    fi
    # Wine leaves its server folder in /tmp; the prefix names it.
    if [ -f "$prefix/wineserver" ]; then
        name=$(head -n 1 "$prefix/wineserver")
        case "$name" in
        wine-*) rm -rf "/tmp/$name" ;;
        esac
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 setup|cleanup DIR | run DIR PROGRAM" >&2
    exit 2
    ;;
esac
