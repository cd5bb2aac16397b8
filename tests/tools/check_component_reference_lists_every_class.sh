#!/usr/bin/env bash
# Every class of the framework and the skin library that describes itself (KEL_DECLARE_CLASS)
# appears in docs/components.md: as a documented class, an ancestor, a collection or a property's
# type. A class added without a place in the reference tool's list fails here.
root=${1:?usage: $0 SOURCE_ROOT}
doc="$root/docs/components.md"
[ -f "$doc" ] || { echo "missing $doc"; exit 1; }
missing=0
for cls in $(grep -rhoE 'KEL_DECLARE_CLASS\([A-Za-z0-9_]+\)' "$root/framework" "$root/skin" \
               --include='*.h' | sed -E 's/.*\(([A-Za-z0-9_]+)\)/\1/' | sort -u); do
  if ! grep -qw "$cls" "$doc"; then
    echo "docs/components.md does not mention $cls"
    missing=1
  fi
done
exit $missing
