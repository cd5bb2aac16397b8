#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's quiet, offline settings.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export WINEPREFIX=${WINEPREFIX:-"$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix"}
if command -v wine >/dev/null 2>&1; then exec wine "$@"; fi
exec /usr/lib/wine/wine64 "$@"
