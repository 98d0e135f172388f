#!/bin/bash
# What a blind player meets: the real program on an accessibility bus under a
# window manager, read by an AT-SPI client and spoken by Orca, played by
# keyboard to the end of a game. Every wait has a limit.
# Usage: tarvel-a11y.sh PATH/TO/tarvel
set -uo pipefail
if [ -z "${TARVEL_A11Y_SESSION:-}" ]; then
    exec env TARVEL_A11Y_SESSION=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME" "$work/orca" && mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
for _ in $(seq 50); do gdbus introspect --session -d org.a11y.Bus -o /org/a11y/bus >/dev/null 2>&1 && break; sleep 0.1; done
for p in IsEnabled ScreenReaderEnabled; do # a screen reader runs before the game starts
    gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.freedesktop.DBus.Properties.Set org.a11y.Status $p '<true>' >/dev/null
done
openbox >/dev/null 2>&1 &
SPEECHD_CMD=/nonexistent orca -u "$work/orca" --debug-file "$work/orca.log" >/dev/null 2>&1 &
sleep 2
"$1" >/dev/null 2>&1 &
passes=0 failures=0

check() { # description, expected text, then the command whose output must become it within ten seconds
    local got
    for _ in $(seq 50); do got=$("${@:3}" 2>&1) && [ "$got" = "$2" ] && { echo "ok: $1"; passes=$((passes + 1)); return; }; sleep 0.2; done
    echo "FAIL: $1: expected '$2', got '$got'"; failures=$((failures + 1))
}
reads() { /usr/bin/python3 "$(dirname "$0")/read.py" "$@"; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.15; done; }
goto() { # the cursor to column $1, row $2 from a8, then a press
    keys Home Prior
    for _ in $(seq "$1"); do keys Right; done
    for _ in $(seq "$2"); do keys Down; done
    keys space
}
spoken() { grep -c -F "SPEECH OUTPUT: '$1" "$work/orca.log"; }

check "a frame with a board of 64 squares, told how to begin" "frame|Доска. Нажмите «Старт», чтобы начать игру.|64|a8|h1" reads board
check "no label without a name" 0 reads empty-labels
check "a place is read with its score" "1. Quib, 20.0%" reads halls 1
keys Tab space shift+Tab Down Right Right Right Down Down Down Down
check "the cursor is the focused square" "d4, свободна|" reads focus
keys space
check "a move is said once on the knight's new square" "d4, конь|ход 2, заполнено 1.6%" reads focus
keys Right
check "the cursor moves on without it" "e4, свободна|" reads focus
keys shift+space
check "the cursor follows a jump the game chose" "конь" eval 'reads focus | grep -o "конь" | head -1'
keys Tab space shift+Tab # a new game, into a corner: 12.5 %
for s in 12 20 01 22 10 02 21 00; do goto "${s:0:1}" "${s:1:1}"; done
check "the result is heard with the game over box" "Результат: 12.5%" reads dialog
keys Return
check "and with the name prompt" "Результат: 12.5%" reads dialog
xdotool type --delay 30 "Tester" && keys Return
check "the record is read in the hall" "9. Tester, 12.5%" reads halls 9
kill %3 # Orca writes its log out as it ends
check "Orca ends" 1 spoken "Screen reader off."
for said in "a8, свободна" "d4, конь" "ход 2, заполнено 1.6%" "Результат: 12.5%"; do
    check "Orca says '$said'" yes eval "[ \$(spoken '$said') -gt 0 ] && echo yes"
done
echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
