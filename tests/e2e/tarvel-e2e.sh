#!/bin/bash
# End-to-end test: the real program in a real X server (1024 x 768, no window
# manager), driven with the mouse and keyboard as a player would, checked by
# screenshots and by the records file.
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
start_button() { click_at 780 36; }
erase_button() { click_at 892 36; }
info_button() { click_at 892 100; }

shot() { xwd -root -silent | /usr/bin/convert xwd:- "$work/$1.png"; }
pixel() { /usr/bin/convert "$work/$1.png" -format "%[hex:p{$2,$3}]" info:; }
cell_colour() { pixel "$1" "$(cell_x "$2")" "$(cell_y "$3")"; }
is_colour() { [ "$(cell_colour "$1" "$2" "$3")" = "$4" ]; }
same_picture() { [ "$(/usr/bin/compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = "0" ]; }

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
wait_gone() { eventually [ "$(visible_windows "$1")" = 0 ]; }
stored_is() { [ "$(stored "$1")" = "$2" ]; }

"$binary" &
app=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Tarvel$' >/dev/null
sleep 0.5

# First start: the default table is written back.
check "the default table is stored" [ "$(stored 'User 0 ')" = '"Quib                "' ]
check "the default scores are stored" [ "$(stored 'Data 0 ')$(stored 'Data 19 ')" = "201" ]
check "all 40 values are stored" [ "$(grep -c -E '^(User|Data)%20[0-9]+%20=' "$store")" = 40 ]

shot empty
check "no board before Start" [ "$(cell_colour empty 0 0)" != 000000 ]
start_button
shot start
check "Start paints a black top-left square" is_colour start 0 0 000000
check "and a white one beside it" is_colour start 1 0 FFFFFF
check "and a black bottom-right square" is_colour start 7 7 000000

click_cell 3 4
shot first
check "the first press places the knight" is_colour first 3 4 FF00FF
check "its targets are blue" is_colour first 4 6 0000FF
click_cell 4 6
shot jump
check "a jump leaves a red square" is_colour jump 3 4 FF0000
check "and moves the knight" is_colour jump 4 6 FF00FF
click_cell 0 0
shot refused
check "a refused press changes no pixel" same_picture jump refused
click_cell 0 0 3
shot right
check "a right press moves the knight on" is_colour right 4 6 FF0000

# A short game into a corner: 8 squares, 12.5%, enters the table at place 9.
start_button
for square in "1 2" "2 0" "0 1" "2 2" "1 0" "0 2" "2 1" "0 0"; do
    click_cell $square
done
check "the game over box is shown" wait_for_windows '^Tarvel$' 2
xdotool key Return
sleep 1
check "the name is asked for" wait_for_windows '^Tarvel$' 2
xdotool type --delay 30 "Tester"
xdotool key Return
check "the name is stored at place 9" eventually stored_is 'User 8 ' '"Tester              "'
shot over
check "the last square is red" is_colour over 0 0 FF0000
check "with its result" [ "$(stored 'Data 8 ')" = "12.5" ]
check "the rest moved down" [ "$(stored 'Data 9 ')$(stored 'Data 19 ')" = "122" ]

# The password dialog clears the table.
erase_button
check "the password dialog opens" wait_for_windows '^Tarvel$' 2
xdotool type --delay 30 "mirvolet"
xdotool key Return
check "the password clears the names" eventually stored_is 'User 0 ' '"                    "'
check "and the scores" [ "$(stored 'Data 0 ')$(stored 'Data 19 ')" = "00" ]

# One information window, however often Info is pressed.
info_button
wait_for_windows '^Инфо$' 1
info_button
check "Info opens one window" [ "$(visible_windows '^Инфо$')" = 1 ]
xdotool key Escape
check "Esc closes the information window" wait_gone '^Инфо$'
check "and leaves the game running" kill -0 "$app"

# Esc in the main window ends the program.
click_at 900 700
xdotool key Escape
check "Esc ends the program" eventually bash -c "! kill -0 $app 2>/dev/null"
wait "$app" 2>/dev/null
app=

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
