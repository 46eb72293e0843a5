# Sourced: starts a private X server for Wine's windows unless one is given,
# and stops it when the sourcing script exits.
fenlodar_start_xvfb() {
  local n=91
  while :; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    FENLODAR_XVFB_PID=$!
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$FENLODAR_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    # Another server may have taken the number meanwhile: ours then ends.
    sleep 0.2
    if kill -0 "$FENLODAR_XVFB_PID" 2>/dev/null; then
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill "$FENLODAR_XVFB_PID" 2>/dev/null || true
      echo "xvfb: the virtual screen :$n did not come up within 10 s" >&2
      return 1
    fi
    if [ "$n" -ge 190 ]; then
      echo "xvfb: could not start a virtual screen (tried :91 to :$n)" >&2
      return 1
    fi
    n=$((n + 1))
  done
  export DISPLAY=":$n"
  trap 'kill "$FENLODAR_XVFB_PID" 2>/dev/null || true' EXIT
}
