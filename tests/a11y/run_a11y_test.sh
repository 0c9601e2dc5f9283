#!/usr/bin/env bash
# The panel on the desktop's accessibility bus: a private session bus (which starts the
# accessibility bus and its registry on demand) under a virtual display, Debian's Python
# with pyatspi, against the simulator. Arguments: the program folder, a folder for logs.
. "$(dirname "$0")/../support/end_to_end_start.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# A display number of its own, away from the first ones other virtual displays take; the
# test starts once the display answers. -noreset: a server that resets when its last client
# leaves (the check here, the accessibility bus launcher) refuses whoever connects meanwhile.
# Debian's pyatspi belongs to the system's Python, whichever python3 comes first on PATH.
timeout 170 xvfb-run -n $((100 + RANDOM % 800)) -a -e "$out/xvfb.log" -s "-screen 0 1024x768x24 -noreset" \
  bash -c 'for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
           xdotool getdisplaygeometry >/dev/null || { echo "the virtual display $DISPLAY does not answer"; exit 1; }
           exec dbus-run-session -- /usr/bin/python3 "$0" "$@"' \
  "$(dirname "$0")/panel_a11y_test.py" "$bin" "$work"
