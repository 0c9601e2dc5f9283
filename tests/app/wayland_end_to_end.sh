#!/usr/bin/env bash
# The panel on a Wayland desktop: weston's headless compositor on a private socket, the
# panel on it natively (no X server anywhere) against vornik-devsim. Checks that start-up
# sent the inquiry and the Settings page read the device, that the compositor's screenshot
# shows the window, and that a second start asks the first to come forward and ends. The
# output has a scale of 2, as a high-density screen: the screenshot shows the panel drawn
# at twice its size.
# Arguments: the program folder, and a folder for the screenshot and logs.
. "$(dirname "$0")/../support/end_to_end_start.sh"
unset DISPLAY
export WAYLAND_DISPLAY=vornik-test-$$ QT_QPA_PLATFORM=wayland

# The desktop in one colour, without its panel: what else the screenshot shows is the panel.
printf '[shell]\nbackground-color=0xff000000\npanel-position=none\n' >"$work/weston.ini"
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug \
  --socket="$WAYLAND_DISPLAY" --width=1024 --height=768 --scale=2 --idle-time=0 >"$out/weston.log" 2>&1 &
"$bin/vornik-devsim" --socket "$work/device.sock" --log "$out/frames.log" &
for _ in $(seq 100); do
  [ -S "$work/device.sock" ] && [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
  sleep 0.1
done
[ -S "$work/device.sock" ] || { echo "simulator did not start"; exit 1; }
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "weston did not start"; cat "$out/weston.log"; exit 1; }

VORNIK_USB_PORT="$work/device.sock" "$bin/vornik" &
panel=$!
for _ in $(seq 150); do
  grep -q "received 1B A4 00 05 50 E0 82 C1 41$" "$out/frames.log" && break
  sleep 0.2
done
# The window shows once the compositor has its first frame: the screenshot is taken again
# until it shows more than the desktop's one colour.
colours=0
for _ in $(seq 30); do
  rm -f "$out"/wayland-screenshot-*.png
  (cd "$out" && weston-screenshooter) || { echo "weston-screenshooter failed"; exit 1; }
  mv "$out"/wayland-screenshot-*.png "$out/panel.png" || { echo "no screenshot"; exit 1; }
  colours=$(identify -format %k "$out/panel.png")
  [ "$colours" -gt 16 ] && break
  sleep 0.5
done

# A second start finds the first and ends at once, whether the compositor lets the first
# come forward or not.
timeout 20 env VORNIK_USB_PORT="$work/device.sock" "$bin/vornik"
second=$?
kill -0 $panel 2>/dev/null || { echo "the panel did not keep running"; exit 1; }
kill $panel
wait $panel 2>/dev/null
[ $second -eq 0 ] || { echo "the second start did not end by itself ($second)"; exit 1; }

grep -q "received 1B A4 00 04 50 E0 82 C0$" "$out/frames.log" || { echo "no inquiry in the frame log"; exit 1; }
grep -q "received 1B A4 00 05 50 E0 82 C1 41$" "$out/frames.log" || { echo "the Settings page did not read the device"; exit 1; }
[ "$colours" -gt 16 ] || { echo "the screenshot is blank ($colours colours)"; exit 1; }
echo "inquiry and settings read seen in $out/frames.log; screenshot $out/panel.png ($colours colours)"
