#!/usr/bin/env bash
# Runs every test: the native tests directly, the Windows tests under Wine and a private Xvfb.
# One CTest run covers both trees, so the output ends with one summary line for all of them.
set -uo pipefail
source "$(dirname "$0")/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start private || exit 1

all="$ROOT/build/ctest-all"
mkdir -p "$all"
cat >"$all/CTestTestfile.cmake" <<CT
subdirs("$ROOT/build/native" "$ROOT/build/win")
CT
cd "$all" && ctest --output-on-failure -j "$(nproc)" "$@"
