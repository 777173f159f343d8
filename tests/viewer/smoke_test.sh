#!/usr/bin/env bash
# The real viewer on a demo installation under Xvfb: found by its title, Down changes the chart,
# Escape ends it with 0 and its settings saved in the (temporary) user config folder.
#   smoke_test.sh ZEPA_SPW ZEPA_DEMO_DATA
set -u

fail() {
    echo "viewer smoke test: FAILED: $*" >&2
    exit 1
}

if [ "${1:-}" = "--inside-x" ]; then
    # ---- Runs under xvfb-run: $2 the viewer, $3 the work folder.
    spw=$2
    work=$3
    cd "$work/demo" || fail "no demo folder"
    "$spw" >"$work/viewer.log" 2>&1 &
    pid=$!
    trap 'kill "$pid" 2>/dev/null' EXIT
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'さやチャート' 2>/dev/null | head -n 1)
    if [ -z "$wid" ]; then
        cat "$work/viewer.log" >&2
        fail "no window titled さやチャート appeared within 20 s"
    fi
    eval "$(xdotool getwindowgeometry --shell "$wid")"  # X Y WIDTH HEIGHT
    # The middle of the chart: below the menu bar and the toolbar, above the status bar.
    crop="$((WIDTH / 2))x$((HEIGHT / 3))+$((X + WIDTH / 4))+$((Y + HEIGHT / 3))"
    shot() { import -window root -crop "$crop" +repage "$work/$1.png" 2>/dev/null; }
    differs() { # exit 0 when the two shots differ in at least one pixel
        local n
        n=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)
        [[ "$n" =~ ^[0-9] ]] || fail "cannot compare screenshots: $n"
        [ "${n%% *}" != "0" ]
    }

    # The first chart is on the screen once two shots in a row agree.
    shot before
    for i in $(seq 1 50); do
        sleep 0.1
        mv "$work/before.png" "$work/previous.png"
        shot before
        differs previous before || break
    done
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    xdotool key --clearmodifiers Down
    changed=no
    for i in $(seq 1 50); do
        sleep 0.1
        shot after
        if differs before after; then
            changed=yes
            break
        fi
    done
    [ "$changed" = yes ] || fail "the chart did not change after Down"

    xdotool key --clearmodifiers Escape
    for i in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "the viewer was still running 10 s after Escape"
    fi
    wait "$pid"
    code=$?
    if [ "$code" -ne 0 ]; then
        cat "$work/viewer.log" >&2
        fail "the viewer exited with $code"
    fi
    exit 0
fi

# ---- Outside: check the tools, prepare the folders, run the part above under Xvfb.
[ $# -eq 2 ] || { echo "usage: $0 ZEPA_SPW ZEPA_DEMO_DATA" >&2; exit 2; }
spw=$(realpath "$1") || fail "no viewer at $1"
demo_data=$(realpath "$2") || fail "no zepa_demo_data at $2"
for tool in xvfb-run xdotool import compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "viewer smoke test: skipped: $tool is not installed (scripts/install-deps)" >&2
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zepa_smoke.XXXXXX") || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
"$demo_data" "$work/demo" >/dev/null || fail "zepa_demo_data could not write the demo"

timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-x "$spw" "$work" || exit 1

ini="$XDG_CONFIG_HOME/VORNEK/ZEPA_CHART.ini"
[ -f "$ini" ] || fail "no settings file at $ini"
grep -q '^SayaMode=' "$ini" || fail "$ini has no SayaMode"
echo "viewer smoke test: passed"
