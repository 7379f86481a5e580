#!/bin/sh
# A person's session with vornik.exe under Wine, on the display given by DISPLAY: type the image
# path, tick the boxes, press "Change", answer the boxes, choose a file through the open-file
# dialog, close the window; Wine's own "reg query" must read back every value the session set.
#   vornik_session.sh VORNIK_EXE [--beside-running-program] [--dpi N] [--screen-reader CLIENT]
# With --beside-running-program another program of the prefix runs the whole time, so the Wine
# server (which then owns the registry) never stops; that session only patches once. With --dpi
# the prefix's desktop runs at N dots per inch for the session: the window must lay itself out in
# device pixels (its client area is the stored layout's twips at N dots per inch). With
# --screen-reader the session is a screen reader's instead: CLIENT (accessibility_client.exe), in
# a process of its own, reads every control through Active Accessibility, types the path, ticks
# the first box and presses "Change" through the objects' default actions and reads the box that
# answers; the values it wrote are read back the same way. The prefix is VORNIK_WINE_PREFIX.
# Exits 77 (skipped) when Wine, xdotool or the prefix is missing.
set -u
exe=$(realpath "$1")
shift
beside=
dpi=96
reader=
while [ $# -gt 0 ]; do
    case "$1" in
    --beside-running-program) beside=yes ;;
    --screen-reader)
        reader=$(realpath "$2")
        shift
        ;;
    --dpi)
        dpi=$2
        shift
        ;;
    esac
    shift
done
for tool in wine wineserver xdotool; do
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
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

failures=0
fail() {
    printf 'FAILED: %s\n' "$*"
    failures=$((failures + 1))
}

# Waits up to 30 s for a top-level window whose name matches; prints its id.
window_named() {
    tries=0
    while [ $tries -lt 300 ]; do
        id=$(xdotool search --name "$1" 2> /dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
    return 1
}

# Waits up to 10 s for the window with this id to go.
gone() {
    tries=0
    while [ $tries -lt 100 ]; do
        xdotool getwindowname "$1" > /dev/null 2>&1 || return 0
        sleep 0.1
        tries=$((tries + 1))
    done
    return 1
}

# Clicks at a point of the window given in pixels of its client area at 96 dots per inch (the
# stored layout's twips / 15), scaled to the desktop's resolution.
click_at() {
    xdotool mousemove --sync $((X + $1 * dpi / 96)) $((Y + $2 * dpi / 96)) click 1
    sleep 0.3
}

# Answers the box titled "Vornik" with the given keys (the box has the keyboard).
answer_box() {
    box=$(window_named '^Vornik$') || {
        fail "no box came up for $1"
        return
    }
    xdotool windowfocus --sync "$box"
    shift
    xdotool key "$@"
    gone "$box" || fail "the box for $1 did not close"
}

# Everything below HKCU\Software\Yahoo as Wine reads it now, one "reg query" for all values.
read_registry() {
    wine reg query 'HKCU\Software\Yahoo' /s 2> /dev/null | tr -d '\r' > "$registry"
}

expect_value() {
    actual=$(awk -v key="HKEY_CURRENT_USER\\$1" -v name="$2" '
        /^HKEY_/ { inside = ($0 == key); next }
        inside && index($0, "    " name "    REG_SZ    ") == 1 {
            print substr($0, length("    " name "    REG_SZ    ") + 1); exit
        }
        inside && $0 == "    " name "    REG_SZ" { print ""; exit }' "$registry")
    [ "$actual" = "$3" ] || fail "$1 \"$2\": expected \"$3\", read \"$actual\""
}

# Closing the window ends the program.
expect_program_ends() {
    tries=0
    while kill -0 "$program" 2> /dev/null && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    if kill -0 "$program" 2> /dev/null; then
        fail "the program did not end when its window was closed"
        kill "$program"
    else
        wait "$program" || fail "the program ended with status $?"
    fi
}

registry=$(mktemp)
desktop='HKCU\Control Panel\Desktop'
finish() {
    rm -f "$registry"
    [ "$dpi" = 96 ] || wine reg delete "$desktop" /v LogPixels /f > /dev/null 2>&1
}
trap finish EXIT
if [ "$dpi" != 96 ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1 ||
        fail "the desktop resolution could not be set"
fi
wine reg delete 'HKCU\Software\Yahoo' /f > /dev/null 2>&1

other=
if [ -n "$beside" ]; then
    wine notepad.exe > /dev/null 2>&1 &
    other=$!
    window_named 'Notepad' > /dev/null || fail "the other program did not start"
fi

wine "$exe" > /dev/null 2>&1 &
program=$!
picture='\\server\pictures\no banner.gif'
if [ -n "$reader" ]; then
    wine "$reader" session "$dpi" || fail "the screen reader's session"
    read_registry
    for name in "Chat Adurl" "Conf Adurl" "Webcam Viewer Ad" "Finance Disclaimer"; do
        expect_value 'Software\Yahoo\Pager\yurl' "$name" "$picture"
    done
    # Only the ticked box's tab is removed.
    expect_value 'Software\Yahoo\Pager\View\YMSGR_Overview' 'Display Bmp' ''
    grep -q 'YMSGR_AddressBook' "$registry" && fail "the address book tab was changed unticked"
    wine "$reader" close > /dev/null 2>&1
    expect_program_ends
    [ $failures -eq 0 ] && echo "The screen reader's session stored every value"
    exit $((failures != 0))
fi
main=$(window_named '^Vornik 1.2$') || {
    echo "FAILED: the Vornik window did not open"
    exit 1
}
# A window can be listed before it is shown and takes input: wait until it is visible and has
# the keyboard, then give a busy machine a moment before the first click.
timeout 30 xdotool search --sync --onlyvisible --name '^Vornik 1.2$' > /dev/null 2>&1
xdotool windowfocus --sync "$main" 2> /dev/null
sleep 1

# 3870 x 3450 twips. The window settles its own size once it sees the system's frame: allow it
# a few seconds to get there.
tries=0
while :; do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$WIDTH" = $((3870 * dpi / 1440)) ] && [ "$HEIGHT" = $((3450 * dpi / 1440)) ] && break
    if [ $tries -ge 50 ]; then
        fail "the window is $WIDTH x $HEIGHT pixels at $dpi dots per inch"
        break
    fi
    sleep 0.1
    tries=$((tries + 1))
done

# Remove both tabs and point the banners at a picture.
# Typed without Shift (a shifted key right at the start can be lost to a busy display).
click_at 116 81
sleep 1
xdotool type --delay 40 "$picture"
click_at 22 136
click_at 22 152
click_at 48 212
answer_box "Patch Complete!" Return
read_registry
for name in "Chat Adurl" "Conf Adurl" "Webcam Viewer Ad" "Webcam Viewer Ad Big" \
    "Webcam Viewer Ad Medium" "Webcam Upload Ad" "Change Room Banner" "Personals Alert Ad URL" \
    "News Alert Ad URL" "Mail Alert Ad URL" "IMVironment Ad URL" "Calendar Alert Ad URL" \
    "Finance Disclaimer"; do
    expect_value 'Software\Yahoo\Pager\yurl' "$name" "$picture"
done
expect_value 'Software\Yahoo\Pager\View\YMSGR_Overview' 'Display Bmp' ''
expect_value 'Software\Yahoo\Pager\View\YMSGR_AddressBook' 'Display Bmp' ''

if [ -z "$other" ]; then
    # Restore the tabs: the restore option clears the other two; the question is answered Yes.
    click_at 22 176
    click_at 48 212
    answer_box "Are You Sure You Wish To Restore The Tabs?" Return
    answer_box "Patch Complete!" Return
    read_registry
    expect_value 'Software\Yahoo\Pager\View\YMSGR_Overview' 'Display Bmp' 'YView\siren.bmp'
    expect_value 'Software\Yahoo\Pager\View\YMSGR_AddressBook' 'Display Bmp' 'YView\addressbook.bmp'

    # The picture chosen through the open-file dialog instead (a file that exists); "Restore"
    # unticked again.
    click_at 22 176
    click_at 236 80
    dialog=$(window_named '^Open$') || fail "no open-file dialog came up"
    if [ -n "$dialog" ]; then
        xdotool windowfocus --sync "$dialog"
        sleep 0.5
        xdotool type --delay 40 'C:\windows\notepad.exe'
        xdotool key Return
        gone "$dialog" || fail "the open-file dialog did not close"
    fi
    click_at 48 212
    answer_box "Patch Complete!" Return
    read_registry
    expect_value 'Software\Yahoo\Pager\yurl' 'Chat Adurl' 'C:\windows\notepad.exe'
    expect_value 'Software\Yahoo\Pager\View\YMSGR_Overview' 'Display Bmp' 'YView\siren.bmp'
fi

# Closing the window ends the program.
xdotool mousemove --sync $((X + 200)) $((Y + 40))
xdotool windowfocus --sync "$main"
xdotool key alt+F4
expect_program_ends

if [ -n "$other" ]; then
    kill -0 "$other" 2> /dev/null || fail "the other program did not keep running"
    kill "$other" 2> /dev/null
    wait "$other" 2> /dev/null
fi
[ $failures -eq 0 ] && echo "The session stored every value"
[ $failures -eq 0 ]
