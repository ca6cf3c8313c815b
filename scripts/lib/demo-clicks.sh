#!/usr/bin/env bash
# Clicks through one installation on the current (private) display the way a
# person would, saving a screenshot of every page, then prints where the
# product went. Used by scripts/demo when there is no display of its own.
#   demo-clicks.sh BUILD_DIR OUT_DIR INSTALLER_ARGS...
set -euo pipefail
build="$1"
out="$2"
shift 2

# A home of the demo's own: every run starts as a first installation, and
# the records of a real installation on this machine are left alone.
home="$out/home"
rm -rf "$home" "$out"/page-*.png
mkdir -p "$home"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
registry="$XDG_CONFIG_HOME/ZeRinSoft/Lexivar.reg"

# Centres of the controls, in window coordinates, as the main window's layout
# places them (600x400).
declare -A at=(
    [defaultInstallBtn]="300 259"
    [customeBtn]="300 310"
    [backBtn]="36 17"
    [closebtn]="577 18"
)

"$build/lexivar-setup" "$@" &
setup=$!

fail() {
    echo "demo: $*" >&2
    kill "$setup" 2>/dev/null || true
    exit 1
}

# Only this run's window: other programs on the display may carry the same name.
wid="$(timeout 30 xdotool search --sync --onlyvisible --pid "$setup" --name '^Lexivar$' | head -1)" || {
    # Exit code -1: another installer of this user holds the single-instance lock.
    for _ in $(seq 1 20); do
        kill -0 "$setup" 2>/dev/null || break
        sleep 0.1
    done
    if ! kill -0 "$setup" 2>/dev/null; then
        code=0
        wait "$setup" || code=$?
        [[ $code == 255 ]] && fail "another installer is running; close it and try again"
    fi
    fail "the installer window did not appear"
}

click() {
    # shellcheck disable=SC2086
    xdotool mousemove --window "$wid" ${at[$1]} click 1
}
shot() {
    sleep "${2:-0.4}"
    import -window "$wid" "$out/page-$1.png"
    echo "demo: $out/page-$1.png"
}

shot 0-default
click customeBtn
shot 1-custom
click backBtn
sleep 0.3
click defaultInstallBtn
shot 2-progress 0.6

# The records are written the moment the finished page shows.
for _ in $(seq 1 600); do
    grep -q "^InstallPath" "$registry" 2>/dev/null && break
    kill -0 "$setup" 2>/dev/null || fail "the installer ended before the installation finished"
    sleep 0.1
done
grep -q "^InstallPath" "$registry" 2>/dev/null || fail "the installation did not finish within a minute"
shot 3-finished

installed="$(sed -n 's/^InstallPath\tREG_SZ\t//p' "$registry")"
click closebtn
# Closing delivers the last usage events first (at most a few seconds).
for _ in $(seq 1 150); do
    kill -0 "$setup" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$setup" 2>/dev/null && fail "the installer did not close"
wait "$setup" || fail "the installer exited with code $?"
[[ -x "$installed/lexivar.exe" ]] || fail "no product in $installed"
echo "demo: Lexivar was installed into $installed"
