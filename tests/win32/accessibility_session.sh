#!/bin/sh
# A screen reader's session with vornik.exe under Wine, on the display given by DISPLAY: a client
# in a process of its own reads every control through Active Accessibility, types the path,
# ticks a box and presses "Change" through the objects' default actions and reads the box that
# answers; Wine's own "reg query" must then read back the values the press wrote.
#   accessibility_session.sh VORNIK_EXE CLIENT_EXE [--dpi N]
# With --dpi the prefix's desktop runs at N dots per inch for the session. The prefix is
# VORNIK_WINE_PREFIX. Exits 77 (skipped) when Wine or the prefix is missing.
set -u
exe=$(realpath "$1")
client=$(realpath "$2")
shift 2
dpi=96
while [ $# -gt 0 ]; do
    case "$1" in
    --dpi)
        dpi=$2
        shift
        ;;
    esac
    shift
done
for tool in wine wineserver; do
    if ! command -v "$tool" > /dev/null 2>&1; then
        echo "Skipped: $tool is not installed"
        exit 77
    fi
done
prefix=${VORNIK_WINE_PREFIX:-}
if [ -z "$prefix" ] || [ ! -s "$prefix/user.reg" ]; then
    echo "Skipped: no Wine prefix (VORNIK_WINE_PREFIX=$prefix)"
    exit 77
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

failures=0
fail() {
    printf 'FAILED: %s\n' "$*"
    failures=$((failures + 1))
}

registry=$(mktemp)
desktop='HKCU\Control Panel\Desktop'
program=
finish() {
    [ -n "$program" ] && kill "$program" 2> /dev/null
    rm -f "$registry"
    [ "$dpi" = 96 ] || wine reg delete "$desktop" /v LogPixels /f > /dev/null 2>&1
}
trap finish EXIT
if [ "$dpi" != 96 ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1 ||
        fail "the desktop resolution could not be set"
fi
wine reg delete 'HKCU\Software\Yahoo' /f > /dev/null 2>&1

wine "$exe" > /dev/null 2>&1 &
program=$!
wine "$client" session "$dpi" || fail "the screen reader's session"

wine reg query 'HKCU\Software\Yahoo' /s 2> /dev/null | tr -d '\r' > "$registry"
expect_value() {
    actual=$(awk -v key="HKEY_CURRENT_USER\\$1" -v name="$2" '
        /^HKEY_/ { inside = ($0 == key); next }
        inside && index($0, "    " name "    REG_SZ    ") == 1 {
            print substr($0, length("    " name "    REG_SZ    ") + 1); exit
        }
        inside && $0 == "    " name "    REG_SZ" { print ""; exit }' "$registry")
    [ "$actual" = "$3" ] || fail "$1 \"$2\": expected \"$3\", read \"$actual\""
}
picture='\\server\pictures\no banner.gif'
for name in "Chat Adurl" "Conf Adurl" "Webcam Viewer Ad" "Finance Disclaimer"; do
    expect_value 'Software\Yahoo\Pager\yurl' "$name" "$picture"
done
# Only the ticked box's tab is removed.
expect_value 'Software\Yahoo\Pager\View\YMSGR_Overview' 'Display Bmp' ''
grep -q 'YMSGR_AddressBook' "$registry" && fail "the address book tab was changed unticked"

# Closing the window ends the program.
wine "$client" close > /dev/null 2>&1
tries=0
while kill -0 "$program" 2> /dev/null && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
done
if kill -0 "$program" 2> /dev/null; then
    fail "the program did not end when its window was closed"
else
    wait "$program" || fail "the program ended with status $?"
fi
program=
[ $failures -eq 0 ] && echo "The screen reader's session stored every value"
[ $failures -eq 0 ]
