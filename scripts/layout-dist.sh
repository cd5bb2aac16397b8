#!/usr/bin/env bash
# Lays out the demo install folder dist/: the launcher, its configuration "lame.dll", the default
# skin folder, the sibling tools (one stub under every sibling's name) and, in dist/alternative/,
# a second product set-up that uses the alternative layout with its own skin folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN="$ROOT/build/win/bin"
ART="$ROOT/build/artwork"
DIST="$ROOT/dist"

siblings=(mkfiles mkmovie mkmusic ripmusic imgwrite imgread imgmake blanker drvprobe afterrun)

# write_setup FOLDER NAME SKIN BURNERRES: one complete program folder.
write_setup() {
  local folder=$1 name=$2 skin=$3 res=$4
  mkdir -p "$folder/sounds"
  cp "$BIN/launcher.exe" "$folder/"
  for s in "${siblings[@]}"; do cp "$BIN/sibling-stub.exe" "$folder/$s.exe"; done
  rm -rf "$folder/sounds/burnerRes$res"
  cp -r "$ART/skins/burnerRes$res" "$folder/sounds/burnerRes$res"
  {
    printf '[SYSTEM]\r\n'
    printf 'Name=%s\r\n' "$name"
    [ -n "$res" ] && printf 'burnerRes=%s\r\n' "$res"
    printf 'Skin=%s\r\n' "$skin"
    printf 'Version=Version 2.4.1 (build 1187)\r\n'
    printf 'Copyright=%s Software\r\n' "${name%% *}"
  } >"$folder/lame.dll"
}

rm -rf "$DIST"
mkdir -p "$DIST"
write_setup "$DIST" "Larkspur Media Kit" 0 ""
write_setup "$DIST/alternative" "Velmora Optic Works" 1 2
echo "dist/ laid out: $(find "$DIST" -type f | wc -l) files"
