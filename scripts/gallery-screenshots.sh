#!/usr/bin/env bash
# Renders the skin gallery in every built-in style and demo skin (gallery.exe --screenshots) under
# a private Xvfb and turns the pictures into docs/screenshots/gallery-<look>.png.
set -uo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start private || exit 1
out="$ROOT/build/screenshots"
rm -rf "$out"
mkdir -p "$out" "$ROOT/docs/screenshots"
(cd "$ROOT/dist/gallery" && "$ROOT/scripts/wine-exec.sh" gallery.exe --screenshots "Z:$out") || exit 1
for bmp in "$out"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$ROOT/docs/screenshots/gallery-$name.png" || exit 1
done
echo "docs/screenshots: $(ls "$out" | wc -l) gallery pictures"
