#!/usr/bin/env bash
# Writes docs/components.md again from the published-property registry: runs the Windows tool
# component-reference.exe under Wine (it creates every component class) in a private Xvfb.
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start private
tool="$ROOT/build/win/bin/component-reference.exe"
out="$ROOT/docs/components.md"
# Written beside the file first, so a failing tool leaves the old reference in place.
"$ROOT/scripts/wine-exec.sh" "$tool" >"$out.new" || { rm -f "$out.new"; exit 1; }
mv "$out.new" "$out"
echo "wrote docs/components.md"
