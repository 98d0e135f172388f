# Sourced by the records suite's store situations, in the folder that holds Tarvel/ (BIN: the suite's program).
# Other running copies of the game enter through other/, whose store is a link to this one.
export S=Tarvel/tst_records.conf L=Tarvel/tst_records.records.lock
copy="env XDG_CONFIG_HOME=$PWD/other $BIN copy"
mkdir -p other/Tarvel && ln -sf ../../$S other/$S
# start NAME:SCORE STEP: a copy entering that result, stopped at that step of its save
start() {
    TARVEL_STOP_AT=$2 $copy "$1" &
    echo $! >"${1%:*}"
    until grep -qs ') T ' /proc/$!/stat; do sleep .01; done
}
go() { kill -CONT "$(cat "$1")"; }
# nobody NAME:SCORE: a copy run by another account
# (from here: the suite's own folder may be closed to it)
nobody() {
    chmod 755 . && install -D -m 755 "$BIN" "bin/${BIN##*/}" && setpriv --reuid=nobody --regid=nogroup \
        --clear-groups env XDG_CONFIG_HOME="$PWD/other" "bin/${BIN##*/}" copy "$1"
}
# sandboxed SCRIPT NAME:SCORE|look: a copy in a mount namespace prepared by SCRIPT; what it prints and its
# exit status go to the file "look"
sandboxed() { unshare -m --propagation private sh -c "$1 $copy $2 >look; echo \$? >>look"; }
# full K: a copy entering Ann:90 with the store's folder a small tmpfs that has K blocks of 4 KiB free; prints
# its exit status, "same" if the store is unchanged, and what a look then prints
full() {
    echo $(unshare -m --propagation private sh -c "cp $S orig && mount -t tmpfs -o size=64k full Tarvel && cp orig $S
        dd if=/dev/zero of=Tarvel/fill bs=4k count=\$((\$(df -B4k --output=avail Tarvel | tail -1) - $1)) 2>/dev/null
        $copy Ann:90; echo \$?; cmp -s orig $S && echo same; $copy look")
}
