# Sourced: a quiet Wine with a prefix private to the build, made once and reused.

vistrel_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX="${VISTREL_WINEPREFIX:-$vistrel_repo/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No prompts for Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

vistrel_wine_prefix() {
    [ -f "$WINEPREFIX/.vistrel-ready" ] && return 0
    echo "wine: creating the prefix $WINEPREFIX (once)" >&2
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    local browser="$vistrel_repo/scripts/lib/log-browser"
    # No audio driver (no sound device here: sounds fail at once instead of waiting),
    # windows not handed to a window manager (without one, hiding a window waits 2 s),
    # and web and mail links logged instead of opened.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$browser" /f \
        >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /t REG_SZ /d "$browser" /f \
        >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.vistrel-ready"
}

# Starts one persistent Wine server with its services for the whole run. Wine's services
# inherit the standard handles of the process that starts them; started here with those
# sent to /dev/null, they never hold a test's output pipe open. A Wine process kept alive
# until this shell exits keeps the services running: without one they stop a moment after
# each program ends, and every test's Wine would start them again (over a second).
vistrel_wine_start() {
    vistrel_wine_prefix
    wineserver -p >/dev/null 2>&1 </dev/null
    local fifo
    fifo=$(mktemp -u /tmp/vistrel-wine-keep.XXXXXX)
    mkfifo "$fifo"
    wine cmd <"$fifo" >/dev/null 2>&1 &
    exec 8>"$fifo" # cmd reads until this shell's end closes the pipe
    rm -f "$fifo"
}
