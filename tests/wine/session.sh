#!/usr/bin/env bash
# session.sh start|stop STATE
# start: makes the test run's Wine prefix and, when DISPLAY is not set, starts
#        Xvfb on a free display and records it for wine-run.sh.
# stop:  ends the prefix's wineserver and the Xvfb that start began.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
action=$1
state=$(readlink -m "$2")
mkdir -p "$state"

# Xvfb picks a free display itself and tells which once it listens, so two
# test runs starting at the same moment never share one.
start_xvfb() {
    local pid number=""
    rm -f "$state/xvfb.display"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        </dev/null >"$state/xvfb.log" 2>&1 3>"$state/xvfb.display" &
    pid=$!
    for _ in $(seq 1 500); do
        number=$(tr -dc '0-9' 2>/dev/null <"$state/xvfb.display" || true)
        [ -n "$number" ] && break
        kill -0 "$pid" 2>/dev/null || { cat "$state/xvfb.log" >&2; exit 1; }
        sleep 0.02
    done
    [ -n "$number" ] || { echo "Xvfb did not report its display" >&2; kill "$pid"; exit 1; }
    echo "$pid" >"$state/xvfb.pid"
    echo ":$number" >"$state/display"
    echo "Xvfb started on :$number (pid $pid)"
}

case "$action" in
start)
    rm -f "$state/display"
    # A server left from test discovery may have started the prefix's
    # services without the display; begin again with it.
    (source "$here/wine-env.sh" "$state"; [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true)
    if [ -z "${DISPLAY:-}" ]; then
        start_xvfb
    else
        echo "using the given display $DISPLAY"
    fi
    # shellcheck source=wine-env.sh
    source "$here/wine-env.sh" "$state"
    dovrel_ensure_prefix
    dovrel_ensure_server
    echo "Wine prefix $WINEPREFIX ready"
    ;;
stop)
    # shellcheck source=wine-env.sh
    source "$here/wine-env.sh" "$state"
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    if [ -s "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$state/display"
    echo "Wine session ended"
    ;;
*)
    echo "usage: session.sh start|stop STATE" >&2
    exit 2
    ;;
esac
