#!/bin/bash
# Start-up time and peak memory of Tarvel against the floor of any Qt Widgets
# program, started in turn under Xvfb at 1024 x 768, each with a fresh HOME
# whose store already holds a table. Then the wake-ups of an idle Tarvel.
# With TARVEL_BENCH_WM set (e.g. openbox), under that window manager.
# Usage: startup.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(readlink -f "$1")
rounds=${2:-10}

if [ -z "${TARVEL_BENCH_DISPLAY:-}" ]; then
    auth=$(mktemp)
    TARVEL_BENCH_DISPLAY=1 xvfb-run -a -f "$auth" -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
    status=$?
    rm -f "$auth"
    exit $status
fi

work=$(mktemp -d)
wm=
if [ -n "${TARVEL_BENCH_WM:-}" ]; then
    "$TARVEL_BENCH_WM" >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi
trap 'rm -rf "$work"; [ -z "$wm" ] || kill "$wm"' EXIT

fresh_home() {
    local home=$work/home-$RANDOM$RANDOM
    mkdir -p "$home/.config/Tarvel"
    {
        echo '[Users%20Data]'
        for i in $(seq 0 19); do
            echo "User%20${i}%20=\"Player $i             \""
            echo "Data%20${i}%20=$((20 - i))"
        done
    } > "$home/.config/Tarvel/tarvel.conf"
    echo "$home"
}

# Prints "milliseconds-until-visible peak-kilobytes" for one start of a program.
measure() {
    local binary=$1 title=$2 home
    home=$(fresh_home)
    local start end pid
    start=$(date +%s%N)
    HOME=$home XDG_CONFIG_HOME=$home/.config "$binary" 2>/dev/null &
    pid=$!
    # Poll gently: a busy loop would take a core from the program being measured.
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
    end=$(date +%s%N)
    sleep 0.3
    local peak
    peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(((end - start) / 1000)) $peak"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/pairs"
for _ in $(seq "$rounds"); do
    read -r t_time t_mem < <(measure "$build/ui/tarvel" Tarvel)
    read -r f_time f_mem < <(measure "$build/bench/tarvel_floor" Floor)
    echo "$t_time $f_time $t_mem $f_mem" >> "$work/pairs"
done

t_time=$(awk '{ print $1 }' "$work/pairs" | median)
f_time=$(awk '{ print $2 }' "$work/pairs" | median)
t_mem=$(awk '{ print $3 }' "$work/pairs" | median)
f_mem=$(awk '{ print $4 }' "$work/pairs" | median)
time_ratio=$(awk '{ print $1 / $2 }' "$work/pairs" | median)
mem_ratio=$(awk '{ print $3 / $4 }' "$work/pairs" | median)

printf '\n%d rounds, each program started in turn (medians)%s\n' "$rounds" "${TARVEL_BENCH_WM:+, under $TARVEL_BENCH_WM}"
printf '%-28s %12s %12s %8s\n' "" Tarvel floor ratio
printf '%-28s %12.1f %12.1f %8.3f\n' "start until visible (ms)" "$(awk "BEGIN { print $t_time / 1000 }")" \
    "$(awk "BEGIN { print $f_time / 1000 }")" "$time_ratio"
printf '%-28s %12d %12d %8.3f\n' "peak resident memory (KiB)" "$t_mem" "$f_mem" "$mem_ratio"

# Idle: no timers and no polling, so no system calls at all in five seconds.
home=$(fresh_home)
HOME=$home XDG_CONFIG_HOME=$home/.config "$build/ui/tarvel" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name '^Tarvel$' >/dev/null 2>&1; do :; done
sleep 1
timeout -s INT 5 strace -f -c -p "$pid" -o "$work/idle" 2>/dev/null || true
calls=$(awk '$NF == "total" { print $(NF - 1) }' "$work/idle")
kill "$pid"
wait "$pid" 2>/dev/null || true
printf '%-28s %12s\n' "system calls in 5 s idle" "${calls:-0}"
