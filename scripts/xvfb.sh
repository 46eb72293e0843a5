# Sourced: starts a private X server for Wine's windows unless one is given,
# and stops it when the sourcing script exits.
fenlodar_start_xvfb() {
  local n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  FENLODAR_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  trap 'kill "$FENLODAR_XVFB_PID" 2>/dev/null || true' EXIT
}
