#!/usr/bin/env bash
# Starts each program on a virtual X display and checks what docks and task bars see of its
# window: its class is the StartupWMClass of the program's desktop entry (so the window is shown
# with the entry's name and icon), and its icon comes at every size they draw.
# Usage: check_window_class.sh <build folder> <source folder>
set -euo pipefail
build=$1
source=$2
if [ -z "${CHECK_WINDOW_CLASS_ON_DISPLAY:-}" ]; then
    CHECK_WINDOW_CLASS_ON_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
home=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_RUNTIME_DIR="$home/run" ASAN_OPTIONS=detect_leaks=0
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# No welcome dialog in the way of Kestrovan's window.
mkdir -p "$XDG_CONFIG_HOME/Halvern"
printf '[Welcome]\nshow=false\n' >"$XDG_CONFIG_HOME/Halvern/Kestrovan Elements.conf"

# check <program> <desktop id> <window title>
check() {
    local program=$1 id=$2 title=$3 entry window="" class_line wanted
    entry="$source/packaging/$id.desktop.in"
    wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
    [ -n "$wanted" ] || fail "$entry has no StartupWMClass"
    "$build/bin/$program" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 1 120); do
        window=$(xwininfo -root -tree 2>/dev/null | awk -v t=" \"$title\": (\"" 'index($0, t) { print $1; exit }')
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || fail "$program showed no window titled $title"
    class_line=$(xprop -id "$window" WM_CLASS)
    # WM_CLASS(STRING) = "instance", "class"
    [ "$(echo "$class_line" | sed 's/.*", "\(.*\)"$/\1/')" = "$wanted" ] \
        || fail "$program's window class is $class_line, its desktop entry says $wanted"
    # Its icon comes at every size a desktop draws, none blown up from another.
    sizes=$(xprop -len 4000000 -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr -dc '0-9 x\n' | tr '\n' ',')
    for side in 16 24 32 48 64 128 256; do
        echo ",$sizes" | grep -q ", *$side x $side," || fail "$program's window icon has no $side pixel picture ($sizes)"
    done
}
check Kestrovan kestrovan Kestrovan
check HalvernDataLogger halvern-datalogger "Halvern DataLogger"
echo "window classes: ok"
