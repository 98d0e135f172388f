#!/bin/bash
# The windows' frames on a real X server (1024 x 768), bare or under a window
# manager: the main window's frame covers the screen, the information window
# and the password dialog are centred by their frames. Every wait has a limit.
# Usage: tarvel-frames.sh PATH/TO/tarvel [WINDOW-MANAGER]
set -uo pipefail
if [ -z "${TARVEL_E2E_DISPLAY:-}" ]; then
    exec env TARVEL_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
[ -n "${2:-}" ] && { "$2" >/dev/null 2>&1 & sleep 1; }
"$1" >/dev/null 2>&1 &
app=$!
trap 'kill -9 $app 2>/dev/null; pkill -f "^${2:-none}" ; rm -rf "$work"' EXIT
failures=0

window() { # waits for a window by its title; prints its id
    for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return; sleep 0.1; done
}
frame() { # left top right bottom of the window's frame
    local info extents
    info=$(xwininfo -id "$1")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)
    read -r l r t b <<<"${extents:-0 0 0 0}"
    read -r x y w h <<<"$(echo "$info" | sed -n -E 's/^ *(Absolute upper-left [XY]|Width|Height): *//p' | tr '\n' ' ')"
    echo $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))
}
check() { # description, then a command that must succeed
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
centred() { read -r l t r b <<<"$(frame "$1")"; [ $(((l + r) / 2 - 512)) -ge -2 ] && [ $(((l + r) / 2 - 512)) -le 2 ] && [ $(((t + b) / 2 - 384)) -ge -2 ] && [ $(((t + b) / 2 - 384)) -le 2 ]; }

main=$(window Tarvel)
sleep 1
check "the main window's frame covers the screen" [ "$(frame "$main")" = "0 0 1024 768" ]
xdotool mousemove --window "$main" 892 100 click 1 # Info
info=$(window Инфо)
sleep 0.5
check "the information window is centred" centred "$info"
xdotool mousemove --window "$main" 892 36 click 1 # Delete records
sleep 1
check "the password dialog is centred" centred "$(xdotool search --onlyvisible --name '^Tarvel$' | grep -v "$main" | head -1)"
[ "$failures" = 0 ]
