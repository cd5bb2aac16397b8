#!/usr/bin/env bash
# Lays out the demo install folder dist/: the launcher, its configuration "lame.dll", the default
# skin folder, the sibling tools (one stub under every sibling's name) and, in dist/alternative/,
# a second product set-up that uses the alternative layout with its own skin folder; dist/gallery/
# holds the skin gallery and in skins/ the demo skin files (scripts/pack-demo-skins.sh).
# The programs are shipped stripped of their symbols. A file is copied only when its source is
# newer, so laying out an unchanged build touches nothing, and the screenshots that
# scripts/run-launcher.sh saves in dist/ stay.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN="$ROOT/build/win/bin"
ART="$ROOT/build/artwork"
STRIPPED="$ROOT/build/win/stripped"
DIST="$ROOT/dist"
STRIP=x86_64-w64-mingw32-strip

siblings=(mkfiles mkmovie mkmusic ripmusic imgwrite imgread imgmake blanker drvprobe afterrun)

# put SOURCE TARGET: copies SOURCE to TARGET unless TARGET exists and SOURCE is not newer (the
# build, the stripping and the artwork generator rewrite a file only when they remake it).
put() {
  [ -f "$2" ] && [ ! "$1" -nt "$2" ] || cp "$1" "$2"
}

# strip_program NAME: makes build/win/stripped/NAME, again whenever build/win/bin/NAME is newer.
strip_program() {
  local from="$BIN/$1" to="$STRIPPED/$1"
  if [ ! -f "$to" ] || [ "$from" -nt "$to" ]; then
    mkdir -p "$STRIPPED"
    "$STRIP" --strip-all -o "$to.tmp" "$from"
    mv "$to.tmp" "$to"
  fi
}

# write_setup FOLDER NAME SKIN BURNERRES LAUNCHER STUB: one complete program folder.
write_setup() {
  local folder=$1 name=$2 skin=$3 res=$4 launcher=$5 stub=$6
  local skins="$folder/sounds/burnerRes$res"
  mkdir -p "$skins"
  put "$launcher" "$folder/launcher.exe"
  for s in "${siblings[@]}"; do put "$stub" "$folder/$s.exe"; done
  for f in "$ART/skins/burnerRes$res"/*.bmp; do put "$f" "$skins/${f##*/}"; done
  # The command substitution drops the last line's "\n"; printf puts it back after its "\r".
  local config
  config=$(
    printf '[SYSTEM]\r\n'
    printf 'Name=%s\r\n' "$name"
    [ -n "$res" ] && printf 'burnerRes=%s\r\n' "$res"
    printf 'Skin=%s\r\n' "$skin"
    printf 'Version=Version 2.4.1 (build 1187)\r\n'
    printf 'Copyright=%s Software\r\n' "${name%% *}"
  )
  cmp -s <(printf '%s\n' "$config") "$folder/lame.dll" || printf '%s\n' "$config" >"$folder/lame.dll"
}

strip_program launcher.exe
strip_program sibling-stub.exe
launcher="$STRIPPED/launcher.exe" stub="$STRIPPED/sibling-stub.exe"
write_setup "$DIST" "Larkspur Media Kit" 0 "" "$launcher" "$stub"
write_setup "$DIST/alternative" "Velmora Optic Works" 1 2 "$launcher" "$stub"

# The skin gallery, in a folder of its own, with the demo skin files.
strip_program gallery.exe
mkdir -p "$DIST/gallery"
put "$STRIPPED/gallery.exe" "$DIST/gallery/gallery.exe"
"$ROOT/scripts/pack-demo-skins.sh" "$DIST/gallery/skins" "$ART"
echo "dist/ laid out: $(find "$DIST" -type f -name '*.exe' | wc -l) programs, $(du -sh "$DIST" | cut -f1)"
