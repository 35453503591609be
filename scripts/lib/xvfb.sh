# Sourced: starts a private Xvfb display, exports DISPLAY, and stops it when the shell
# exits (also on failure or interruption).

vistrel_start_xvfb() {
    local geometry="${1:-2048x1536x24}"
    local fdfile
    fdfile=$(mktemp /tmp/vistrel-xvfb.XXXXXX)
    Xvfb -displayfd 9 -screen 0 "$geometry" -nolisten tcp -noreset 9>"$fdfile" \
        >/dev/null 2>&1 &
    vistrel_xvfb_pid=$!
    trap 'vistrel_stop_xvfb' EXIT
    trap 'exit 130' INT TERM
    local i
    for i in $(seq 1 100); do
        if [ -s "$fdfile" ]; then
            export DISPLAY=":$(head -n 1 "$fdfile")"
            if xdpyinfo >/dev/null 2>&1; then
                rm -f "$fdfile"
                return 0
            fi
        fi
        sleep 0.1
    done
    rm -f "$fdfile"
    echo "Xvfb did not start" >&2
    return 1
}

vistrel_stop_xvfb() {
    if [ -n "${vistrel_xvfb_pid:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        kill "$vistrel_xvfb_pid" 2>/dev/null || true
        wait "$vistrel_xvfb_pid" 2>/dev/null || true
        vistrel_xvfb_pid=
    fi
}
