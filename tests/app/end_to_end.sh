#!/usr/bin/env bash
# The panel as a person starts it: vornik-devsim on a private socket, the panel on it
# under a virtual display. Checks that the panel sent the inquiry and read the Settings
# page from the device, that its window shows, and that a second start only raises the
# first copy and ends. Leaves the screenshot beside the frame log.
# Arguments: the program folder, and a folder for the screenshot and logs.
. "$(dirname "$0")/../support/end_to_end_start.sh"

"$bin/vornik-devsim" --socket "$work/device.sock" --log "$out/frames.log" &
for _ in $(seq 100); do [ -S "$work/device.sock" ] && break; sleep 0.1; done
[ -S "$work/device.sock" ] || { echo "simulator did not start"; exit 1; }

VORNIK_USB_PORT="$work/device.sock" xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
  bin=$1; out=$2
  "$bin/vornik" & panel=$!
  id=""
  for _ in $(seq 150); do
    id=$(xdotool search --name "^Helmdeck$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "the main window did not appear"; kill $panel; exit 1; }
  sleep 2
  import -window root "$out/panel.png"
  # A second start finds the first by its title and ends at once.
  timeout 20 "$bin/vornik"; second=$?
  kill $panel; wait $panel 2>/dev/null
  [ $second -eq 0 ] || { echo "the second start did not end by itself ($second)"; exit 1; }
' _ "$bin" "$out" || exit 1

grep -q "received 1B A4 00 04 50 E0 82 C0$" "$out/frames.log" || { echo "no inquiry in the frame log"; exit 1; }
grep -q "received 1B A4 00 05 50 E0 82 C1 41$" "$out/frames.log" || { echo "the Settings page did not read the device"; exit 1; }
colours=$(identify -format %k "$out/panel.png")
[ "$colours" -gt 16 ] || { echo "the screenshot is blank ($colours colours)"; exit 1; }
echo "inquiry and settings read seen in $out/frames.log; screenshot $out/panel.png ($colours colours)"
