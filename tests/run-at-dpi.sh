#!/usr/bin/env bash
# Runs a test program under Wine in a session of its own whose DPI is DPI. As Windows
# fixes the DPI at sign-in, Wine 10 takes LogPixels only when a session's desktop starts
# (Wine 8 at each process start): so the value is set in a fresh prefix whose wineserver
# is then ended, and the program starts a new session that reads it. The test run's
# shared prefix is not touched.
# usage: run-at-dpi.sh DPI WINE_RUN PROGRAM [ARGS...]
set -euo pipefail
dpi="$1"
wine_run="$2"
shift 2
wine_session="$(dirname "$wine_run")/wine-session.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/trelvane-dpi.XXXXXX")"
export TRELVANE_WINE_SESSION="$work/prefix"
trap '"$wine_session" stop "$TRELVANE_WINE_SESSION"; rm -rf "$work"' EXIT
# Always a temporary prefix, even where the caller names one for the shared session.
TRELVANE_WINEPREFIX="" "$wine_session" start "$TRELVANE_WINE_SESSION"
# Wine's output goes to a file: a persistent wineserver keeps pipes open.
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  </dev/null >"$work/reg.log" 2>&1
WINEPREFIX="$(cat "$TRELVANE_WINE_SESSION")" wineserver -k </dev/null >/dev/null 2>&1 || true
WINEPREFIX="$(cat "$TRELVANE_WINE_SESSION")" wineserver -w </dev/null >/dev/null 2>&1
TRELVANE_EXPECT_DPI="$dpi" "$wine_run" "$@"
