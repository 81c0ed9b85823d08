#!/usr/bin/env bash
# Runs a Windows test program under Wine in the prefix of the current test session
# (see wine-session.sh), so tests never touch the caller's own Wine settings.
set -euo pipefail
session_file="${TRELVANE_WINE_SESSION:-}"
if [[ -n "$session_file" && -f "$session_file" ]]; then
  WINEPREFIX="$(cat "$session_file")"
  export WINEPREFIX
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: nothing here may download or pop up.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
