#!/usr/bin/env bash
# start SESSION_FILE: makes a Wine prefix for one test run (TRELVANE_WINEPREFIX if the
#   caller names one, a fresh temporary one otherwise), initialises it once and keeps
#   a wineserver running, so each test program starts in milliseconds.
# stop SESSION_FILE: ends that wineserver and removes a temporary prefix.
# Wine's output always goes to files: a persistent wineserver keeps pipes open.
set -euo pipefail
action="$1"
session_file="$2"

case "$action" in
start)
  if [[ -n "${TRELVANE_WINEPREFIX:-}" ]]; then
    prefix="$TRELVANE_WINEPREFIX"
    mkdir -p "$prefix"
  else
    prefix="$(mktemp -d "${TMPDIR:-/tmp}/trelvane-wine.XXXXXX")"
    touch "$prefix/.trelvane-temporary"
  fi
  mkdir -p "$(dirname "$session_file")"
  echo "$prefix" >"$session_file"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >"$prefix.wineboot.log" 2>&1
  # With no window manager on the test display Wine would wait 2 s for each closed
  # window to be withdrawn; unmanaged windows close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$prefix.wineboot.log" 2>&1
  # Wine's own fonts (Tahoma behind "MS Shell Dlg", the MS Sans Serif bitmap font), as
  # a Wine that finds its data folder has them; this one does not look there.
  if [[ -d /usr/share/wine/fonts ]]; then
    cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  ;;
stop)
  [[ -f "$session_file" ]] || exit 0
  prefix="$(cat "$session_file")"
  WINEPREFIX="$prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
  if [[ -f "$prefix/.trelvane-temporary" ]]; then
    WINEPREFIX="$prefix" wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$prefix" "$prefix.wineboot.log"
  fi
  rm -f "$session_file"
  ;;
*)
  echo "usage: $0 start|stop SESSION_FILE" >&2
  exit 2
  ;;
esac
