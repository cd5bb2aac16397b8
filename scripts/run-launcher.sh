#!/usr/bin/env bash
# Shows dist/launcher.exe. On the current display when there is one; otherwise on a private Xvfb,
# where it saves a screenshot to dist/screenshot.png and then ends the program and Xvfb.
set -uo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
had_display=${DISPLAY:-}
wine_session_start || exit 1
cd "$ROOT/dist"
if [ -n "$had_display" ]; then
  "$ROOT/scripts/wine-exec.sh" launcher.exe
else
  "$ROOT/scripts/wine-exec.sh" launcher.exe &
  launcher=$!
  sleep "${SCREENSHOT_DELAY:-4}"
  import -window root "$ROOT/dist/screenshot.png" && echo "Screenshot saved to dist/screenshot.png"
  kill "$launcher" 2>/dev/null
fi
