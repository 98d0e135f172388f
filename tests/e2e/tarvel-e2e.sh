#!/bin/bash
# The real program on a real X server, bare or under openbox: the windows' frames and Esc; under
# openbox also a game played by keyboard to a record in the hall of fame, with an AT-SPI client and
# Orca listening, as a blind player would. Or the program as a native Wayland client of weston
# (its desktop shell and panel) or sway (its bar), each run inside Xvfb by its X11 backend so that
# xdotool gives it a pointer and a keyboard: at 1024 x 768 and 1920 x 1080, scale 1 and 2 (sway
# changes its output under the running game), the main window's frame is the usable area and the
# board a whole square laid out from that space; then a game to its end, a click on the main window
# while its box is open, the box still on top, and Esc (on weston, where the game draws its own title
# bar, the close box, after clicks where Qt's bar has its maximize and minimize boxes). Every wait has a limit.
# Under openbox the game then shows where it lost its whole tour, and Orca says so.
# Usage: tarvel-e2e.sh PATH/TO/tarvel bare|openbox_orca|weston|sway
set -uo pipefail
session=$2
if [ -z "${TARVEL_E2E_DISPLAY:-}" ]; then
    size=1024x768 && [ "${session:0:1}" != w ] && [ "${session:0:1}" != s ] || size=1920x1080
    exec env TARVEL_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 ${size}x24 -noreset -ac" dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
# stop PID...: background jobs and what they started
stop() { for p in "$@"; do pkill -P "$p"; kill "$p"; done 2>/dev/null; }
# TERM first: the accessibility bus launcher ends its own bus then.
trap 'stop $(jobs -p); sleep 0.3; kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0

# check DESCRIPTION EXPECTED COMMAND...: the command's output must become the expected within ten seconds.
check() {
    local got
    for _ in $(seq 50); do got=$("${@:3}" 2>&1) && [ "$got" = "$2" ] && { echo "ok: $1"; return; }; sleep 0.2; done
    echo "FAIL: $1: expected '$2', got '$got'"; failures=$((failures + 1))
}
# A screen reader takes its time with each key; Orca 48 more than Orca 43.
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
# Into a corner, 12.5 % (place 9): from b6 the knight has no jump left after eight squares.
corner="12 20 01 22 10 02 21 00"
x11() {
    export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8
    mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    # A screen reader runs before the game starts.
    if [ "$session" = openbox_orca ]; then
        /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
        for p in IsEnabled ScreenReaderEnabled; do
            timeout 10 bash -c "until gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.freedesktop.DBus.Properties.Set org.a11y.Status $p '<true>'; do sleep 0.1; done" >/dev/null 2>&1
        done
        openbox >/dev/null 2>&1 &
        SPEECHD_CMD=/nonexistent orca -u "$work" --debug-file "$work/orca.log" >/dev/null 2>&1 &
        orca=$!
        sleep 2
    fi
    "$1" >/dev/null 2>&1 &
    app=$!

    windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
    # frame WINDOW [centred]: left top right bottom of a window's frame; with "centred", whether its centre is
    # the screen's within two pixels.
    frame() {
        local l r t b x y w h
        read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)"
        read -r x y w h <<<"$(xwininfo -id "$1" | sed -n -E 's/^ *(Absolute upper-left [XY]|Width|Height): *//p' | tr '\n' ' ')"
        l=$((x - ${l:-0})) t=$((y - ${t:-0})) r=$((x + w + ${r:-0})) b=$((y + h + ${b:-0}))
        [ -z "${2:-}" ] && echo $l $t $r $b || { [ $(((l + r - 1024) ** 2 + (t + b - 768) ** 2)) -le 32 ] && echo centred; }
    }
    click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.3; }

    check "the window appears" 1 eval 'windows Tarvel | wc -l'
    main=$(windows Tarvel | head -1)
    check "its frame covers the screen" "0 0 1024 768" frame "$main"
    # the password dialog is centred by the same code
    click 892 100
    check "the information window is centred" centred frame "$(windows Инфо)" centred
    # A game by keyboard, as a blind player plays it; a press on the board before Start gives it focus and nothing else.
    if [ "$session" = openbox_orca ]; then
        click 100 100
        keys Tab space shift+Tab Down Right Right Right Down Down Down Down space
        keys Tab space shift+Tab
        # from a8 to each square, then a press
        for s in $corner; do
            keys Home Prior $(for _ in $(seq "${s:0:1}"); do echo Right; done) $(for _ in $(seq "${s:1:1}"); do echo Down; done) space
        done
        check "the game over box is shown" 2 eval 'windows Tarvel | wc -l'
        keys Return
        sleep 0.5 && xdotool type --delay 30 "Tester" && keys Return
        check "the record is in the hall, and every label has a name" "9. Tester, 12.5% 0" \
            /usr/bin/python3 "$(dirname "$0")/atspi-read.py" 9
        # where that game lost its whole tour, from the menu on the board; a key completes the tour laid out
        keys Menu Down Down Down Return Home Right Left && sleep 1
        # Orca writes out its log as it ends. What it says is checked by the facts spoken, which Orca 43 and
        # Orca 48 word alike; their roles and punctuation differ.
        kill $orca; sleep 1
        for said in "Tarvel frame" "Доска. Нажмите «Старт», чтобы начать игру." "List with 64 items" "d4, конь" \
            "ход 2, заполнено 1.6%" "Игра окончена" "Результат: 12.5%" "Введите свое имя:" \
            "Ход 7 (c7) сделал полный обход невозможным" "a8, ход 64, продолжение"; do
            check "Orca says '$said'" yes eval "grep -F 'SPEECH OUTPUT:' '$work/orca.log' | grep -q -F '$said' && echo yes"
        done
    fi
    click 900 700
    keys Escape
}

wayland() {
    look="/usr/bin/python3 $(dirname "$(readlink -f "$0")")/wayland-look.py"
    chmod 755 "$work" && mkdir -m 700 "$work/runtime" "$work/games" && cp "$1" "$work/games/tarvel"
    # the game's title bar, where it is built, found from the program as when installed
    [ -z "${TARVEL_PLUGINS:-}" ] || { mkdir -p "$work/games/$TARVEL_PLUGINS" && cp -r "$(dirname "$1")/$TARVEL_PLUGINS/." "$_"; }
    # sway refuses to run as root; the compositor and the game run as one user
    as=()
    [ "$(id -u)" -ne 0 ] || { chown -R nobody:nogroup "$work"; as=(setpriv --reuid=nobody --regid=nogroup --clear-groups); }
    user() {
        "${as[@]}" env -i -C "$work" PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 \
            DISPLAY="$DISPLAY" WAYLAND_DISPLAY=wayland-tarvel QT_QPA_PLATFORM=wayland \
            SWAYSOCK="$work/runtime/sway.sock" "$@"
    }
    # The usable area, then each window from the top down: its frame, then the surface the program draws.
    windows() {
        if [ "$session" = weston ]; then user weston-debug scene-graph; else user swaymsg -t get_tree; fi |
            $look windows "$session"
    }
    shot() {
        rm -f "$work"/*.png
        if [ "$session" = weston ]; then user weston-screenshooter; else user grim "$work/shot.png"; fi
        ls "$work"/*.png
    }
    count() { windows | tail -n +2 | wc -l; }

    # start SIZE SCALE: the compositor (weston anew, sway's output changed) and the game once it runs.
    start() {
        local w=${1%x*} h=${1#*x}
        if [ "$session" = sway ] && [ -S "$work/runtime/sway.sock" ]; then
            user swaymsg output X11-1 mode "$1" scale "$2" >/dev/null
            return
        fi
        stop $(jobs -p); wait
        if [ "$session" = weston ]; then
            printf '[shell]\npanel-position=top\n[core]\nxwayland=false\n' >"$work/weston.ini"
            user weston --backend=x11-backend.so --use-pixman --width=$((w / $2)) --height=$((h / $2)) --scale="$2" \
                --socket=wayland-tarvel --debug --config="$work/weston.ini" >/dev/null 2>&1 &
        else
            printf 'xwayland disable\noutput X11-1 mode %s scale %s\nbar {\n position top\n status_command echo Tarvel\n}\n' \
                "$1" "$2" >"$work/sway.config"
            user env WLR_BACKENDS=x11 WLR_RENDERER=pixman WAYLAND_DISPLAY= sway -c "$work/sway.config" >/dev/null 2>&1 &
        fi
        for _ in $(seq 50); do [ -S "$work/runtime/wayland-tarvel" ] && break; sleep 0.1; done
        [ "$session" = weston ] || user ln -s wayland-1 "$work/runtime/wayland-tarvel"
        # the game starts on a desktop whose panel or bar is up
        for _ in $(seq 50); do [ "$(windows | cut -d' ' -f3)" = 0 ] || break; sleep 0.1; done
        user games/tarvel >/dev/null 2>&1 &
        app=$!
    }

    # The frame is all the usable area, and the board a whole square laid out from the program's own
    # space, as large as that allows (80 pixels less than its height, 4 of them its sunken border).
    layout() {
        local usable x y w h own off bw bh
        usable=$(windows | sed -n 's/usable //p')
        read -r _ _ _ _ _ x y w h _ _ _ own <<<"$(echo $(windows))"
        [ "$x $y $w $h" = "$usable" ] || { echo "frame $x $y $w $h, usable area $usable"; return; }
        read -r _ _ bw bh <<<"$($look board "$(shot)")"
        off=$((bw - (own - 84) * $1))
        [ "$bw" = "$bh" ] && bh=square
        echo "board $bh, $((off * off <= 1 ? 0 : off)) off the space given"
    }
    # square COLUMN ROW: the centre of a square on the screen, as xdotool places the pointer.
    square() { echo $((bx + (2 * $1 + 1) * bw / 16)) $((by + (2 * $2 + 1) * bw / 16)); }
    # click X Y: a click at a point of the screen. Weston's X11 backend reads how far the X pointer
    # moves, so the pointer goes to the far corner and to the top left first, where any compositor's stops.
    click() { xdotool mousemove 1919 1079 sleep 0.1 mousemove 0 0 sleep 0.1 mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.2; }

    for config in "1024x768 1" "1920x1080 1" "1920x1080 2" "1024x768 2"; do
        # weston starts anew at another size; sway changes its output under the running game
        [ "$session" = sway ] || [ "$config" = "1024x768 1" ] || [ "$config" = "1920x1080 2" ] || continue
        read -r size scale <<<"$config"
        start "$size" "$scale"
        check "one window at $config" 1 count
        # a press on the blank board gives it the keyboard, and Start is the next control
        read -r _ _ _ _ _ _ _ _ _ x y _ <<<"$(echo $(windows))"
        [ "$session" = sway ] && [ "$config" != "1024x768 1" ] || { click $(((x + 100) * scale)) $(((y + 200) * scale)) && keys Tab space; }
        check "the window fills the usable area, the board a square at $config" "board square, 0 off the space given" \
            layout "$scale"
    done

    read -r bx by bw _ <<<"$($look board "$(shot)")"
    for s in $corner; do click $(square ${s:0:1} ${s:1:1}); done
    check "the game ends with a box" 2 count
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
    if [ -n "${TARVEL_PLUGINS:-}" ] && [ "$session" = weston ]; then
        # where Qt's own bar has its maximize and minimize boxes, nothing; the close box ends the game
        before=$(windows)
        read -r _ _ _ _ _ x y w _ <<<"$(echo $before)"
        for right in 40 64; do click $(((x + w - right) * scale)) $(((y + 15) * scale)); done
        check "the title bar has no maximize or minimize box" "$before" windows
        click $(((x + w - 18) * scale)) $(((y + 15) * scale))
    else
        keys Escape
    fi
}

case $session in
    bare | openbox_orca) x11 "$1" ;;
    *) wayland "$1" ;;
esac
check "the program ends" gone eval "kill -0 $app 2>/dev/null || echo gone"
echo "$failures failed"
[ "$failures" = 0 ]
