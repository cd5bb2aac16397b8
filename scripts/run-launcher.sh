#!/usr/bin/env bash
# Shows dist/launcher.exe. On the current display when there is one. Otherwise, on a private Xvfb,
# it saves a screenshot of each demo product's launcher window, dist/screenshot.png (default
# layout) and dist/alternative/screenshot.png (alternative layout), then ends them and Xvfb.
set -uo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
had_display=${DISPLAY:-}
wine_session_start || exit 1

# save_screenshot FOLDER: starts FOLDER/launcher.exe, waits until it is painted and saves its
# window with a margin of desktop around it as FOLDER/screenshot.png. The sibling stub that the
# launcher starts only logs here, so that nothing but the launcher is on the desktop.
save_screenshot() {
  local folder=$1 shot log launcher box
  shot=$(mktemp --suffix=.png)
  log=$(mktemp)
  (cd "$folder" && SIBLINGS_LOG="Z:$log" exec "$ROOT/scripts/wine-exec.sh" launcher.exe) &
  launcher=$!
  sleep "${SCREENSHOT_DELAY:-4}"
  import -window root "$shot"
  # The smallest box around everything that is not desktop: the launcher's window.
  box=$(convert "$shot" -format '%@' info:)
  kill "$launcher" 2>/dev/null
  wait "$launcher" 2>/dev/null
  local w h x y margin=20
  IFS='x+' read -r w h x y <<<"$box"
  if [ "$w" -ge 1280 ] || [ "$h" -ge 1024 ]; then
    echo "No launcher window found on the desktop" >&2
    rm -f "$shot" "$log"
    return 1
  fi
  convert "$shot" -crop "$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))" \
    +repage "$folder/screenshot.png"
  rm -f "$shot" "$log"
  echo "Screenshot saved to ${folder#"$ROOT/"}/screenshot.png"
}

if [ -n "$had_display" ]; then
  cd "$ROOT/dist" && "$ROOT/scripts/wine-exec.sh" launcher.exe
else
  # A mid-blue desktop, against which the window's outline shows in the pictures.
  "$ROOT/scripts/wine-exec.sh" reg add 'HKCU\Control Panel\Colors' /v Background \
    /d '37 111 149' /f >/dev/null 2>&1
  save_screenshot "$ROOT/dist" && save_screenshot "$ROOT/dist/alternative"
fi
