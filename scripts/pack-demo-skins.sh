#!/usr/bin/env bash
# Packs the demo skin folders of the artwork generator (build/artwork/demo-skins/NAME) into
# OUTDIR/NAME.skn with the native skintool: Graphite plain, Aqua encrypted with the password
# "gallery" (the README states it). A skin file is made again only when a file of its folder is
# newer than it, so laying out an unchanged build touches nothing.
# Usage: pack-demo-skins.sh OUTDIR [ARTWORK_DIR]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:?usage: pack-demo-skins.sh OUTDIR [ARTWORK_DIR]}
ART=${2:-$ROOT/build/artwork}
SKINTOOL=${SKINTOOL:-$ROOT/build/native/bin/skintool}

# NAME:PASSWORD, an empty password for a plain skin file.
skins=(Graphite: Aqua:gallery)

mkdir -p "$OUT"
for entry in "${skins[@]}"; do
  name=${entry%%:*} password=${entry#*:}
  folder="$ART/demo-skins/$name" target="$OUT/$name.skn"
  [ -f "$folder/entries.txt" ] || { echo "pack-demo-skins.sh: no skin folder $folder" >&2; exit 1; }
  if [ -f "$target" ] && [ -z "$(find "$folder" -type f -newer "$target" -print -quit)" ]; then
    continue
  fi
  args=(pack "$folder" "$target.tmp")
  [ -z "$password" ] || args+=(--password "$password")
  env -u SKINTOOL_PASSWORD "$SKINTOOL" "${args[@]}" >/dev/null
  mv "$target.tmp" "$target"
done
