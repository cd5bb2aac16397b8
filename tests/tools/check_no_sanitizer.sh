#!/usr/bin/env bash
# Checks that the programs users run carry no sanitizer runtime: no sanitizer library among their
# needed shared libraries and no sanitizer symbol, defined or referenced. Each program's sanitized
# twin (<program>_sanitized beside it) must be caught by the same check, so that a check gone blind
# fails too.
# Usage: check_no_sanitizer.sh PROGRAM...
set -uo pipefail

# Prints what ties the ELF file $1 to a sanitizer runtime; prints nothing for a clean file.
sanitizer_traces() {
  readelf --dynamic --wide "$1" | grep -E 'NEEDED.*lib(a|ub|t|l|m|hwa)san' | sed 's/^ */needs: /'
  readelf --syms --wide "$1" | awk '{print $NF}' | grep -E '^__(a|ub|t|l|m|hwa)san_' |
    sort -u | head -3 | sed 's/^/symbol: /'
}

[ $# -gt 0 ] || { echo "usage: $0 PROGRAM..." >&2; exit 2; }
status=0
for program in "$@"; do
  if [ ! -f "$program" ]; then
    echo "FAIL $program: missing"
    status=1
    continue
  fi
  traces=$(sanitizer_traces "$program")
  if [ -n "$traces" ]; then
    echo "FAIL $program carries a sanitizer runtime:"
    echo "$traces"
    status=1
  else
    echo "ok   $program"
  fi
  twin=${program}_sanitized
  if [ ! -f "$twin" ] || [ -z "$(sanitizer_traces "$twin")" ]; then
    echo "FAIL $twin: missing or without sanitizer, so this check cannot be trusted"
    status=1
  fi
done
exit $status
