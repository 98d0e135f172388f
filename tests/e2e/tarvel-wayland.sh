#!/bin/bash
# The real program as a native Wayland client of a real compositor: weston with its desktop shell
# and panel, or sway with its bar, run inside Xvfb by their X11 backends, so that xdotool gives them
# a pointer and a keyboard. At 1024 x 768 and 1920 x 1080, scale 1 and 2 (sway changes its output
# under the running game): the main window's frame is the usable area, the board whole, square and
# laid out from that space. Then a game to its end, a click on the main window while its box is
# open, the box still on top, and Esc. Every wait has a limit.
# Usage: tarvel-wayland.sh PATH/TO/tarvel weston|sway
set -uo pipefail
compositor=$2
look="/usr/bin/python3 $(dirname "$(readlink -f "$0")")/wayland-look.py"
work=$(mktemp -d)
chmod 755 "$work" && mkdir -m 700 "$work/runtime" && cp "$1" "$work/tarvel"
# stop PID...: background jobs and what they started
stop() { for p in "$@"; do pkill -P "$p"; kill "$p"; done 2>/dev/null; }
trap 'stop $(jobs -p); sleep 0.3; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 1920x1080x24 3>"$work/display" 2>/dev/null &
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
# sway refuses to run as root; the compositor and the game run as one user
as=()
[ "$(id -u)" -ne 0 ] || { chown -R nobody:nogroup "$work"; as=(setpriv --reuid=nobody --regid=nogroup --clear-groups); }
user() {
    "${as[@]}" env -i -C "$work" PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 \
        DISPLAY="$DISPLAY" WAYLAND_DISPLAY=wayland-tarvel QT_QPA_PLATFORM=wayland \
        SWAYSOCK="$work/runtime/sway.sock" "$@"
}
failures=0

# check DESCRIPTION EXPECTED COMMAND...: the command's output must become the expected within ten seconds.
check() {
    local got
    for _ in $(seq 50); do got=$("${@:3}" 2>&1) && [ "$got" = "$2" ] && { echo "ok: $1"; return; }; sleep 0.2; done
    echo "FAIL: $1: expected '$2', got '$got'"; failures=$((failures + 1))
}
# The usable area, then each window from the top down: its frame, then the surface the program draws.
windows() {
    if [ "$compositor" = weston ]; then user weston-debug scene-graph; else user swaymsg -t get_tree; fi |
        $look windows "$compositor"
}
shot() {
    rm -f "$work"/*.png
    if [ "$compositor" = weston ]; then user weston-screenshooter; else user grim "$work/shot.png"; fi
    ls "$work"/*.png
}
main_window() { windows | sed -n 2p; }
count() { windows | tail -n +2 | wc -l; }

# start SIZE SCALE: the compositor (weston anew, sway's output changed) and the game once it runs.
start() {
    local w=${1%x*} h=${1#*x}
    if [ "$compositor" = sway ] && [ -S "$work/runtime/sway.sock" ]; then
        user swaymsg output X11-1 mode "$1" scale "$2" >/dev/null
        return
    fi
    local running
    running=$(jobs -p | tail -n +2)
    [ -z "$running" ] || { stop $running; wait $running; } 2>/dev/null
    if [ "$compositor" = weston ]; then
        printf '[shell]\npanel-position=top\n[core]\nxwayland=false\n' >"$work/weston.ini"
        user weston --backend=x11-backend.so --use-pixman --width=$((w / $2)) --height=$((h / $2)) --scale="$2" \
            --socket=wayland-tarvel --debug --config="$work/weston.ini" >/dev/null 2>&1 &
    else
        printf 'xwayland disable\noutput X11-1 mode %s scale %s\nbar {\n position top\n status_command echo Tarvel\n}\n' \
            "$1" "$2" >"$work/sway.config"
        user env WLR_BACKENDS=x11 WLR_RENDERER=pixman WAYLAND_DISPLAY= sway -c "$work/sway.config" >/dev/null 2>&1 &
    fi
    for _ in $(seq 50); do [ -S "$work/runtime/wayland-tarvel" ] && break; sleep 0.1; done
    [ "$compositor" = weston ] || user ln -s wayland-1 "$work/runtime/wayland-tarvel"
    # the game starts on a desktop whose panel or bar is up
    for _ in $(seq 50); do [ "$(windows | cut -d' ' -f3)" = 0 ] || break; sleep 0.1; done
    user ./tarvel >/dev/null 2>&1 &
    app=$!
}

# The frame is all the usable area, and the board a whole square laid out from the program's own
# space, as large as that allows (80 pixels less than its height, 4 of them its sunken border).
layout() {
    local usable x y w h own off bw bh
    read -r _ usable <<<"$(windows | head -1)"
    read -r x y w h _ _ _ own <<<"$(main_window)"
    [ "$x $y $w $h" = "$usable" ] || { echo "frame $x $y $w $h, usable area $usable"; return; }
    read -r _ _ bw bh <<<"$($look board "$(shot)")"
    off=$((bw - (own - 84) * $1))
    [ "$bw" = "$bh" ] && bh=square
    echo "board $bh, $((off * off <= 1 ? 0 : off)) off the space given"
}
# square COLUMN ROW: the centre of a square on the screen, as xdotool places the pointer.
square() { echo $((bx + (2 * $1 + 1) * bw / 16)) $((by + (2 * $2 + 1) * bw / 16)); }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
# click X Y: a click at a point of the screen. Weston's X11 backend reads how far the X pointer
# moves, so the pointer goes to the far corner and to the top left first, where any compositor's stops.
click() { xdotool mousemove 1919 1079 sleep 0.1 mousemove 0 0 sleep 0.1 mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.2; }
# begin SCALE: a press on the blank board gives it the keyboard, and Start is the next control.
begin() {
    local x y
    read -r _ _ _ _ x y _ _ <<<"$(main_window)"
    click $(((x + 100) * $1)) $(((y + 200) * $1))
    keys Tab space
}

for config in "1024x768 1" "1920x1080 1" "1920x1080 2" "1024x768 2"; do
    # weston starts anew at another size; sway changes its output under the running game
    [ "$compositor" = sway ] || [ "$config" = "1024x768 1" ] || [ "$config" = "1920x1080 2" ] || continue
    read -r size scale <<<"$config"
    start "$size" "$scale"
    check "one window at $config" 1 count
    [ "$compositor" = sway ] && [ "$config" != "1024x768 1" ] || begin "$scale"
    check "the window fills the usable area, the board a square at $config" "board square, 0 off the space given" \
        layout "$scale"
done

# Into a corner: from b6 the knight has no jump left after eight squares, and the game ends.
read -r bx by bw _ <<<"$($look board "$(shot)")"
for s in 12 20 01 22 10 02 21 00; do click $(square ${s:0:1} ${s:1:1}); done
# the top window first: a box lies on the main window
stacking() {
    local x y w h mx my mw mh
    { read -r _; read -r x y w h _; read -r mx my mw mh _; } <<<"$(windows)"
    [ $((x >= mx && y >= my && x + w <= mx + mw && y + h <= my + mh)) = 1 ] && echo box on top || windows
}
check "the game ends with a box on the main window" "box on top" stacking
before=$(windows)
click $(square 4 4)
check "a click on the main window leaves the box on top" "$before" windows
# the box (the keyboard back to it by a click on its title), then the name for place 9
read -r _ _ _ _ _ x y w _ <<<"$(echo $before)"
click $(((x + w / 2) * scale)) $(((y + 5) * scale))
keys Return
check "the name is asked" 2 count
xdotool type --delay 30 Wayland
keys Return
check "the boxes are gone" 1 count
keys Escape
check "Esc ends the program" gone eval "kill -0 $app 2>/dev/null || echo gone"
echo "$failures failed"
[ "$failures" = 0 ]
