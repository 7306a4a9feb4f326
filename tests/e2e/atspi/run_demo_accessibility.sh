#!/bin/bash
# The demo as a screen reader sees it: a private X server and session bus, the
# accessibility bus and its registry, the demo in a real window, and a pyatspi client
# (check_demo_accessibility.py) that walks, reads and drives it.
#
#   run_demo_accessibility.sh DEMO_BINARY CLIENT_SCRIPT [--dump FILE]
#
# Exits 77 (a skip to CTest) only when a tool it needs is not installed.
set -u
if [ "${1:-}" != "--inside" ]; then
  skip() { echo "SKIP: $*"; exit 77; }
  # Debian's own Python, which python3-pyatspi installs into (not one earlier on PATH).
  export ZZ_PYTHON=${ZZ_PYTHON:-/usr/bin/python3}
  for tool in Xvfb dbus-run-session xdotool "$ZZ_PYTHON"; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  for dir in /usr/libexec /usr/lib/at-spi2-core; do
    [ -x "$dir/at-spi-bus-launcher" ] || continue
    export ZZ_ATSPI_LAUNCHER=$dir/at-spi-bus-launcher ZZ_ATSPI_REGISTRYD=$dir/at-spi2-registryd
  done
  [ -n "${ZZ_ATSPI_LAUNCHER:-}" ] || skip "at-spi2-core is not installed"
  "$ZZ_PYTHON" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
  exec dbus-run-session -- "$0" --inside "$@"
fi
shift
demo=$1 client=$2
shift 2
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

# The X server picks a free display and says which.
exec {dfd}<> <(:)
xvfb_log=${TMPDIR:-/tmp}/zz-a11y-xvfb.$$
Xvfb -displayfd "$dfd" -screen 0 1280x800x24 -nolisten tcp -noreset >"$xvfb_log" 2>&1 &
pids+=($!)
read -r -t 10 -u "$dfd" display && [ -n "$display" ] || { echo "Xvfb did not start:"; cat "$xvfb_log"; exit 1; }
export DISPLAY=:$display
# The number comes when the server listens; a loaded machine has been seen to refuse the
# first client a moment longer, and a client that cannot connect gives up at once.
for _ in $(seq 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null || { echo "Xvfb on $DISPLAY takes no clients:"; cat "$xvfb_log"; exit 1; }
rm -f "$xvfb_log"

"$ZZ_ATSPI_LAUNCHER" --launch-immediately >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
  sleep 0.1
done
"$ZZ_ATSPI_REGISTRYD" >/dev/null 2>&1 &
pids+=($!)

# A sanitizer build's leak report unwinds slowly: GLib has no frame pointers, and the
# AT-SPI bridge's one-time tables are known only by a frame below it (cmake/lsan.supp).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0" \
"$demo" --sdl --geometry 800x600+40+40 > "${TMPDIR:-/tmp}/zz-a11y-demo.$$" 2>&1 &
demo_pid=$!
pids+=($demo_pid)
window=$(timeout 15 xdotool search --sync --onlyvisible --pid "$demo_pid" | head -1)
[ -n "$window" ] || { echo "the demo showed no window"; cat "${TMPDIR:-/tmp}/zz-a11y-demo.$$"; exit 1; }
xdotool windowfocus --sync "$window"
"$ZZ_PYTHON" "$client" --app "$(basename "$demo")" --window "$window" "$@"
status=$?
# The demo leaves the bus and ends cleanly on SIGTERM (a sanitizer build reports here).
kill -TERM "$demo_pid"
wait "$demo_pid"
demo_status=$?
if [ "$demo_status" -ne 0 ]; then
  echo "the demo ended with status $demo_status:"
  cat "${TMPDIR:-/tmp}/zz-a11y-demo.$$"
  status=1
fi
rm -f "${TMPDIR:-/tmp}/zz-a11y-demo.$$"
exit $status
