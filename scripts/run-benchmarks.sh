#!/usr/bin/env bash
# Runs every benchmark: the native ones directly, the Windows ones under Wine and a private Xvfb.
# Each prints its table and, as its last line, its ratio against the peer measured in the same run.
set -uo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
status=0
for bench in "$ROOT"/build/native/bin/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
wine_session_start private || exit 1
for bench in "$ROOT"/build/win/bin/bench_*.exe; do
  [ -f "$bench" ] || continue
  echo "== $(basename "$bench")"
  (cd "$ROOT/dist" && "$ROOT/scripts/wine-exec.sh" "$bench") || status=1
done
exit $status
