#!/bin/bash
# Runs a command on a fresh clone of this project in a brand-new Debian root, as on a new player's
# machine: debootstrap's minimal system plus git and make, nothing else; the project installs the rest.
#
#   scripts/fresh-debian.sh [SUITE [COMMAND]]      as root; e.g. scripts/fresh-debian.sh trixie 'make test'
#
# SUITE defaults to the Debian release this machine is not (trixie on bookworm, bookworm on trixie),
# COMMAND to `make test`. The root is made anew each run in private mount and PID namespaces, so its
# mounts and processes end with it; the archive is the one this machine's apt uses. TARVEL_APT_CACHE=DIR
# keeps downloaded packages in DIR between runs (the root itself is still fresh).
set -euo pipefail

[ "$(id -u)" = 0 ] || { echo "$0: run as root (debootstrap, mount and chroot need it)" >&2; exit 2; }
project=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
own=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
suite=${1:-$([ "$own" = trixie ] && echo bookworm || echo trixie)}
command=${2:-make test}

# Inside the namespaces: make the root, clone, run.
if [ "${TARVEL_FRESH_INNER:-}" = 1 ]; then
    root=$FRESH_ROOT
    mount -t tmpfs -o size=12g,mode=755 fresh "$root"
    cache=()
    [ -z "${TARVEL_APT_CACHE:-}" ] || { mkdir -p "$TARVEL_APT_CACHE"; cache=(--cache-dir="$TARVEL_APT_CACHE"); }
    echo "[fresh] debootstrap $suite from $MIRROR"
    debootstrap --variant=minbase --include=git,make,ca-certificates "${cache[@]}" "$suite" "$root" "$MIRROR" >"$root.log" 2>&1 ||
        { tail -20 "$root.log"; exit 70; }
    rm -f "$root.log"
    printf 'deb %s %s main\n' "$MIRROR" "$suite" >"$root/etc/apt/sources.list"
    [ -z "$APT_DATES" ] || printf '%s\n' "$APT_DATES" >"$root/etc/apt/apt.conf.d/99dates"
    # No init system here: packages must not start services.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d" && chmod 755 "$root/usr/sbin/policy-rc.d"
    cp -L /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount --bind -o ro /sys "$root/sys"
    mount --rbind /dev "$root/dev" && mount --make-rprivate "$root/dev"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    git clone -q --no-local "$project" "$root/root/project"
    echo "[fresh] $(git -C "$root/root/project" log -1 --format='%h %s')"
    echo "[fresh] running: $command"
    exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 CI=true \
        USER=root TERM=dumb /bin/bash -c "cd /root/project && $command" </dev/null
fi

if ! command -v debootstrap >/dev/null; then
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null
fi
# The archive this machine's apt uses, its main suite (a release's name swapped in for the other one).
MIRROR=$(apt-get indextargets --no-release-info --format '$(REPO_URI)|$(RELEASE)' 'Identifier: Packages' |
    awk -F'|' -v s="$own" '$2 == s { print $1; exit }')
[ -n "$MIRROR" ] || { echo "$0: this machine's apt sources name no '$own' suite" >&2; exit 70; }
APT_DATES=$(apt-config dump | grep -E '^Acquire::Check-(Valid-Until|Date) ' || true)
FRESH_ROOT=$(mktemp -d /var/tmp/tarvel-fresh-XXXXXX)
trap 'rm -f "$FRESH_ROOT.log"; rmdir "$FRESH_ROOT"' EXIT
export MIRROR APT_DATES FRESH_ROOT TARVEL_FRESH_INNER=1
start=$(date +%s)
status=0
unshare --mount --pid --fork --propagation private --kill-child "$0" "$suite" "$command" || status=$?
echo "[fresh] $suite: '$command' ended with status $status after $(($(date +%s) - start)) s"
exit $status
