# Sourced by the Wine runner and the test command. Uses the user's $DISPLAY when there is
# one; otherwise starts a virtual X display and stops it on exit (only the one it started).
kp_display_started=

kp_display_start() {
    [ -n "${DISPLAY:-}" ] && return 0
    command -v Xvfb >/dev/null || { echo "Xvfb is missing: run scripts/setup.sh" >&2; return 1; }
    local n
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        # a session of its own: Ctrl+C in the terminal must not end the display before the
        # Wine programs on it have ended (each would report a broken X connection)
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        kp_display_started=$!
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$kp_display_started" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$kp_display_started" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
        kp_display_started=
    done
    echo "could not start a virtual display" >&2
    return 1
}

kp_display_stop() {
    [ -n "$kp_display_started" ] || return 0
    # Wine's desktop process is bound to this display: let the prefix wind down first.
    if [ -n "${WINEPREFIX:-}" ]; then
        timeout 20 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
    fi
    kill "$kp_display_started" 2>/dev/null || true
    wait "$kp_display_started" 2>/dev/null || true
    kp_display_started=
}
