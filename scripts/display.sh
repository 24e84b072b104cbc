# Sourced: a virtual X display for Wine's windows when none is given.
# start_virtual_display exports DISPLAY; stop_virtual_display ends what it started.
_scrivora_xvfb_pid=""

start_virtual_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
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
