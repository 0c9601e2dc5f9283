#!/usr/bin/env bash
# The panel as a new user meets it, under a virtual display against vornik-devsim:
# - --help and --version answer without a display or a port;
# - against a device whose answers carry no length, the first Settings read fails, a second
#   start during its box raises the first copy and ends, and Apply then sends nothing;
# - against a silent device, Abort in the start-up box ends the program with status 3.
# Arguments: the program folder, and a folder for the logs.
. "$(dirname "$0")/../support/end_to_end_start.sh"
fail() { echo "$*"; exit 1; }

env -u DISPLAY -u WAYLAND_DISPLAY "$bin/vornik" --help | grep -q "^Usage: vornik" || fail "--help printed no usage"
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/vornik" --version | grep -q "^vornik [0-9]" || fail "--version printed no version"

start_simulator() {  # name, faults...
  local name=$1; shift
  : >"$out/$name.log"
  "$bin/vornik-devsim" --socket "$work/$name.sock" --log "$out/$name.log" "$@" &
  for _ in $(seq 100); do [ -S "$work/$name.sock" ] && return 0; sleep 0.1; done
  fail "simulator $name did not start"
}

start_simulator zero-length --fault zero-length
start_simulator silent --fault silent

xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
  bin=$1; work=$2
  fail() { echo "$*"; kill $(jobs -p) 2>/dev/null; exit 1; }
  window() {  # waits for a window titled "Helmdeck" and focuses it
    local id=""
    for _ in $(seq 150); do
      id=$(xdotool search --onlyvisible --name "^Helmdeck$" 2>/dev/null | tail -n 1)
      [ -n "$id" ] && break
      sleep 0.2
    done
    [ -n "$id" ] || return 1
    xdotool windowfocus --sync "$id" 2>/dev/null
    echo "$id"
  }

  VORNIK_USB_PORT=$work/zero-length.sock "$bin/vornik" & panel=$!
  window >/dev/null || fail "the not-responding box of the first read did not appear"
  sleep 1
  timeout 20 "$bin/vornik"; second=$?
  [ $second -eq 0 ] || fail "a second start during the box did not end by itself ($second)"
  xdotool key Return  # closes the box
  sleep 1
  window >/dev/null || { wait $panel; fail "the main window did not appear (panel ended with $?)"; }
  xdotool key alt+a   # Apply
  sleep 2
  kill $panel; wait $panel 2>/dev/null

  VORNIK_USB_PORT=$work/silent.sock "$bin/vornik" & panel=$!
  sleep 8  # two inquiries on USB, two on the parallel port
  window >/dev/null || fail "the start-up box did not appear"
  xdotool key Return  # Abort, the default button
  for _ in $(seq 50); do kill -0 $panel 2>/dev/null || break; sleep 0.2; done
  wait $panel; status=$?
  [ $status -eq 3 ] || fail "Abort ended the program with status $status"
' _ "$bin" "$work" || exit 1

grep -q "received 1B A4 00 05 50 E0 82 C1 41$" "$out/zero-length.log" || fail "the Settings page did not read the device"
if grep -q "received 1B A4 00 .. 50 E0 82 C2 41" "$out/zero-length.log"; then
  fail "Apply sent the settings after a failed read"
fi
echo "new-user checks passed; frame logs in $out"
