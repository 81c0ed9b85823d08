#!/usr/bin/env bash
# Runs a test program under Wine while the session's prefix reports another DPI.
# Wine takes the DPI from LogPixels when a process starts; the value is global to
# the prefix, so it is always removed again, and tests that create windows hold
# ctest's display_dpi lock.
# usage: run-at-dpi.sh DPI WINE_RUN PROGRAM [ARGS...]
set -euo pipefail
dpi="$1"
wine_run="$2"
shift 2
session_file="${TRELVANE_WINE_SESSION:-}"
if [[ -z "$session_file" || ! -f "$session_file" ]]; then
  echo "run-at-dpi.sh: no Wine test session (TRELVANE_WINE_SESSION)" >&2
  exit 1
fi
# Wine's output goes to a file: a persistent wineserver keeps pipes open.
log="$session_file.run-at-dpi.log"
restore() {
  "$wine_run" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >>"$log" 2>&1 || true
}
trap restore EXIT
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  </dev/null >"$log" 2>&1
TRELVANE_EXPECT_DPI="$dpi" "$wine_run" "$@"
