#!/bin/bash
# End-to-end smoke test: the real program in a real X server (1024 x 768, no
# window manager), one game played with the mouse and keyboard to a record
# that lands in the records file, then Esc. Every wait has a limit.
# Usage: tarvel-e2e.sh PATH/TO/tarvel
set -uo pipefail

binary=$(readlink -f "$1")
work=$(mktemp -d)

if [ -z "${TARVEL_E2E_DISPLAY:-}" ]; then
    TARVEL_E2E_DISPLAY=1 xvfb-run -a -f "$work/Xauthority" -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
    status=$?
    rm -rf "$work"
    exit $status
fi

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
store=$XDG_CONFIG_HOME/Tarvel/tarvel.conf
failures=0
passes=0
app=

cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passes=$((passes + 1))
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

# The layout on this screen, in pixels: the board's inside starts at (10, 18)
# and is 684 wide, so a square is 85.5; the panel starts at x = 712, y = 8.
cell_x() { echo $((10 + (2 * $1 + 1) * 855 / 20)); }
cell_y() { echo $((18 + (2 * $1 + 1) * 855 / 20)); }
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.3; }
click_cell() { click_at "$(cell_x "$1")" "$(cell_y "$2")" "${3:-1}"; }

stored() { # key, e.g. "User 8 ": the raw value in the records file
    local key=${1// /%20}
    sed -n "s/^${key}=//p" "$store"
}
visible_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
eventually() { # a command that must come true within ten seconds
    for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}
windows_at_least() { [ "$(visible_windows "$1")" -ge "$2" ]; }
wait_for_windows() { eventually windows_at_least "$1" "$2"; sleep 0.3; }
stored_is() { [ "$(stored "$1")" = "$2" ]; }

"$binary" &
app=$!
check "the window appears" timeout 20 xdotool search --sync --onlyvisible --name '^Tarvel$'
sleep 0.5
check "the default table is stored" [ "$(stored 'User 0 ')$(stored 'Data 19 ')" = '"Quib                "1' ]

# A short game into a corner: 8 squares, 12.5%, enters the table at place 9.
click_at 780 36
for square in "1 2" "2 0" "0 1" "2 2" "1 0" "0 2" "2 1" "0 0"; do
    click_cell $square
done
check "the game over box is shown" wait_for_windows '^Tarvel$' 2
xdotool key Return
check "the name is asked for" wait_for_windows '^Tarvel$' 2
xdotool type --delay 30 "Tester"
xdotool key Return
check "the record lands in the store" eventually stored_is 'User 8 ' '"Tester              "'
check "with its result" [ "$(stored 'Data 8 ')$(stored 'Data 9 ')" = "12.512" ]

click_at 900 700
xdotool key Escape
check "Esc ends the program" eventually bash -c "! kill -0 $app 2>/dev/null"
app=

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
