# Sourced by the run, test and benchmark scripts: one private Xvfb (when asked or when there is no
# display), one project-local WINEPREFIX and one persistent wineserver for the whole run. Whatever
# is started here is stopped by its PID in wine_session_stop, which the callers run on EXIT.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
XVFB_PID=""
WINESERVER_PID=""

# wine_session_start [private]: "private" forces a private Xvfb even when DISPLAY is set.
wine_session_start() {
  if [ "${1:-}" = private ] || [ -z "${DISPLAY:-}" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local num
    read -r -t 20 num <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$num"
  fi
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -f -p >/dev/null 2>&1 &
  WINESERVER_PID=$!
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix (first run only)..."
    "$ROOT/scripts/wine-exec.sh" wineboot --init >/dev/null 2>&1 || true
  fi
  # On a private display the programs run inside one virtual desktop: no window manager is
  # involved, so showing and hiding windows costs no X round trips. On the user's display they
  # get ordinary windows.
  local key='HKCU\Software\Wine\Explorer'
  if [ -n "$XVFB_PID" ]; then
    "$ROOT/scripts/wine-exec.sh" reg add "$key" /v Desktop /d Default /f >/dev/null 2>&1
    "$ROOT/scripts/wine-exec.sh" reg add "$key\Desktops" /v Default /d 1280x1024 /f >/dev/null 2>&1
  else
    "$ROOT/scripts/wine-exec.sh" reg delete "$key" /v Desktop /f >/dev/null 2>&1
  fi
  return 0
}

wine_session_stop() {
  # The session's wineserver first ends every Windows program attached to it (the programs under
  # test, and Wine's own services of this prefix), then itself; its PID is then reaped.
  if [ -n "$WINESERVER_PID" ]; then
    "$WINESERVER" -k >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 "$WINESERVER_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$WINESERVER_PID" 2>/dev/null
    wait "$WINESERVER_PID" 2>/dev/null
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  WINESERVER_PID=""
  XVFB_PID=""
}
