#!/bin/sh
# Installs the Debian packages that a purpose needs and the machine lacks.
# Usage: install-deps.sh run|test|bench|package
set -eu

run="cmake make g++ qt6-base-dev qt6-translations-l10n fonts-liberation fonts-dejavu-core"
# The windows' own title bar on Wayland needs Qt's private Wayland and Gui headers, which Debian 12 lacks.
[ "$(. /etc/os-release && echo "${VERSION_ID%%.*}")" -lt 13 ] 2>/dev/null || run="$run qt6-base-private-dev qt6-wayland-private-dev"
test="$run qt6-base-private-dev xvfb xauth xdotool openbox x11-utils dpkg-dev file lintian \
    orca at-spi2-core gir1.2-atspi-2.0 python3-gi dbus-daemon libglib2.0-bin clang-format-19 acl \
    qt6-wayland weston sway grim python3-pil"
bench="$test libbenchmark-dev strace"
package="$run dpkg-dev file"

case "${1:-run}" in
    run) wanted=$run ;;
    test) wanted=$test ;;
    bench) wanted=$bench ;;
    package) wanted=$package ;;
    *) echo "usage: $0 run|test|bench|package" >&2; exit 2 ;;
esac

missing=""
for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing:$missing"
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
