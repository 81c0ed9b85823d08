# Sourced by the scripts. start_private_display [SCREEN]: starts Xvfb on a free display
# number, exports DISPLAY and sets xvfb_pid, which the caller kills when it is done.
start_private_display() {
  local number=90
  # A display that looks free may still be held (another run's Xvfb whose socket
  # files were removed): then the next number is tried.
  for _ in $(seq 20); do
    while [[ -e "/tmp/.X11-unix/X$number" || -e "/tmp/.X$number-lock" ]]; do ((number++)); done
    Xvfb ":$number" -screen 0 "${1:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do
      [[ -e "/tmp/.X11-unix/X$number" ]] && return 0
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    ((number++))
  done
  echo "Xvfb did not start" >&2
  return 1
}
