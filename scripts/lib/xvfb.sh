# Sourced by scripts: starts a private Xvfb when there is no display and stops
# it when the calling script exits.
start_private_display() {
    [[ -n "${DISPLAY:-}" ]] && return 0
    local n
    for n in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        LEXIVAR_XVFB_PID=$!
        for _ in $(seq 1 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && break
            sleep 0.1
        done
        if kill -0 "$LEXIVAR_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            trap 'kill "$LEXIVAR_XVFB_PID" 2>/dev/null || true' EXIT
            return 0
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}
