# Sourced: a virtual X display for Wine's windows when none is given.
# start_virtual_display [WIDTHxHEIGHT] exports DISPLAY; with a size it starts a
# display of that size even when one is given (a small screen to test on);
# stop_virtual_display ends what it started.
_scrivora_xvfb_pid=""

start_virtual_display() {
  local size=${1:-}
  if [ -z "$size" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size:-1024x768}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  _scrivora_xvfb_pid=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$fd_file" ]; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
}

stop_virtual_display() {
  if [ -n "$_scrivora_xvfb_pid" ]; then
    kill "$_scrivora_xvfb_pid" 2>/dev/null || true
    wait "$_scrivora_xvfb_pid" 2>/dev/null || true
    _scrivora_xvfb_pid=""
  fi
}
