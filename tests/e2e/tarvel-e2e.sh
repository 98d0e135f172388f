#!/bin/bash
# End-to-end smoke test of the real program on a real X server (1024 x 768),
# bare or under a window manager: the frames of the windows, one game played
# with the mouse and keyboard to a record in the records file, then Esc.
# Every wait has a limit. Usage: tarvel-e2e.sh PATH/TO/tarvel [WINDOW-MANAGER]
set -uo pipefail
if [ -z "${TARVEL_E2E_DISPLAY:-}" ]; then
    exec env TARVEL_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
[ -n "${2:-}" ] && { "$2" >/dev/null 2>&1 & wm=$!; sleep 1; }
"$1" >/dev/null 2>&1 &
app=$!
trap 'kill -9 $app ${wm:-} 2>/dev/null; rm -rf "$work"' EXIT
passes=0 failures=0

check() { # description, then a command that must come true within ten seconds
    for _ in $(seq 100); do "${@:2}" && { echo "ok: $1"; passes=$((passes + 1)); return; }; sleep 0.1; done
    echo "FAIL: $1"; failures=$((failures + 1))
}
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
frame() { # left top right bottom of a window's frame; with "centred", whether its centre is the screen's within two pixels
    local l r t b x y w h
    read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)"
    read -r x y w h <<<"$(xwininfo -id "$1" | sed -n -E 's/^ *(Absolute upper-left [XY]|Width|Height): *//p' | tr '\n' ' ')"
    l=$((x - ${l:-0})) t=$((y - ${t:-0})) r=$((x + w + ${r:-0})) b=$((y + h + ${b:-0}))
    [ -z "${2:-}" ] && echo $l $t $r $b || [ $(((l + r - 1024) ** 2 + (t + b - 768) ** 2)) -le 32 ]
}
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.3; }
stored_is() { [ "$(sed -n "s/^${1// /%20}=//p" "$XDG_CONFIG_HOME/Tarvel/tarvel.conf")" = "$2" ]; }

check "the window appears" windows Tarvel
main=$(windows Tarvel | head -1)
check "its frame covers the screen" [ "$(frame "$main")" = "0 0 1024 768" ]
click 892 100 # Info
check "the information window is centred" frame "$(windows Инфо)" centred
click 892 36 # Delete records
check "the password dialog is centred" frame "$(windows Tarvel | grep -v "$main")" centred
xdotool mousemove --window "$(windows Tarvel | grep -v "$main")" 220 100 click 1 && sleep 0.5 # Cancel

click 780 36 # Start, then a short game into a corner: 12.5 %, place 9
for s in 12 20 01 22 10 02 21 00; do # the board's inside starts at (10, 18); a square is 85.5 pixels
    click $((10 + (2 * ${s:0:1} + 1) * 855 / 20)) $((18 + (2 * ${s:1:1} + 1) * 855 / 20))
done
check "the game over box is shown" [ "$(windows Tarvel | wc -l)" -ge 2 ]
sleep 0.5 && xdotool key Return && sleep 0.5
check "the name is asked for" [ "$(windows Tarvel | wc -l)" -ge 2 ]
sleep 0.5 && xdotool type --delay 30 "Tester" && xdotool key Return
check "the record lands in the store" stored_is 'User 8 ' '"Tester              "'
click 900 700
xdotool key Escape
check "Esc ends the program" eval "! kill -0 $app 2>/dev/null"
echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
