#!/usr/bin/env bash
# The panel as installed: this build installed into a temporary DESTDIR under another
# prefix, then the installed panel started on the installed simulator under a virtual
# display while the build tree is hidden (an empty file system mounted over it, seen only
# by the programs under test). The panel must show its texts (its window title comes from
# the language file), open its help page in its language and load its port libraries from
# the install; the installed vornikctl must read the device with the same libraries.
# Arguments: the build folder, and a folder for the screenshots and logs.
set -u
build=$(cd "$1" && pwd)
out=$2
prefix=/opt/vornik-moved

if [ "${3:-}" = --build-tree-hidden ]; then
  work=$4
  root=$work/dest$prefix
  mount -t tmpfs -o size=1m,mode=0755 build-tree-moved-away "$build" || exit 1
  [ ! -e "$build/bin" ] || { echo "the build tree is still visible"; exit 1; }
  # Panels that others run on this machine hold their port locks and their running-copy
  # beacon; this panel gets its own, so it neither waits for them nor hands over to them.
  if [ -d /run/lock ]; then
    mount -t tmpfs -o size=1m,mode=1777 port-locks /run/lock || exit 1
  fi
  cd "$work" || exit 1
  export ASAN_OPTIONS=detect_leaks=0 XDG_RUNTIME_DIR=$work TMPDIR=$work
  "$root/bin/vornik-devsim" --socket "$work/device.sock" --log "$work/frames.log" &
  sim=$!
  for _ in $(seq 100); do [ -S "$work/device.sock" ] && break; sleep 0.1; done
  [ -S "$work/device.sock" ] || { echo "the installed simulator did not start"; exit 1; }
  VORNIK_USB_PORT=$work/device.sock xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    root=$1; work=$2
    # The loader notes every library it loads, and from where.
    # In German: the installed language file and help page of a language other than English.
    LD_DEBUG=files LD_DEBUG_OUTPUT=$work/loader VORNIK_LANG=de "$root/bin/vornik" & panel=$!
    find_window() {
      for _ in $(seq 150); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && return 0
        sleep 0.2
      done
      return 1
    }
    find_window "^Helmdeck$" || { echo "the main window did not appear with its title"; kill $panel; exit 1; }
    sleep 2
    import -window root "$work/panel.png"
    xdotool windowfocus --sync "$id" key F1
    find_window "^Hilfe zum Fernbedienfeld$" || { echo "the German help page did not open"; import -window root "$work/help.png"; kill $panel; exit 1; }
    sleep 1
    import -window root "$work/help.png"
    kill $panel; wait $panel 2>/dev/null
    exit 0
  ' _ "$root" "$work"
  status=$?
  # vornikctl finds the same libraries from the same install.
  if [ $status -eq 0 ]; then
    VORNIK_USB_PORT=$work/device.sock "$root/bin/vornikctl" info >"$work/info.txt" ||
      { echo "the installed vornikctl did not read the device"; status=1; }
  fi
  kill "$sim" 2>/dev/null
  wait "$sim" 2>/dev/null
  exit $status
fi

mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/dest$prefix

DESTDIR=$work/dest cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; echo "the install failed"; exit 1; }
for file in bin/vornik bin/vornikctl bin/vornik-devsim lib/vornik/libgrenlo.so lib/vornik/libtarquil.so \
    lib/vornik/libfendrel.so lib/vornik/libcorvane.so lib/vornik/vornik-uninstall \
    share/vornik/vornik.ini share/vornik/english.lng share/vornik/german.lng \
    share/vornik/french.lng share/vornik/spanish.lng share/vornik/vornik.html \
    share/vornik/vornik.de.html share/vornik/vornik.fr.html share/vornik/vornik.es.html \
    share/vornik/schema/settings.schema.json; do
  [ -f "$root/$file" ] || { echo "the install lacks $file"; exit 1; }
done

# The build tree is hidden in a private mount namespace, so nothing else notices.
hide=()
if unshare --mount true 2>/dev/null; then
  hide=(unshare --mount --propagation private)
elif unshare --user --map-root-user --mount true 2>/dev/null; then
  hide=(unshare --user --map-root-user --mount --propagation private)
else
  echo "no private mount namespace here to hide the build tree in"
  exit 77
fi
"${hide[@]}" bash "$0" "$build" "$out" --build-tree-hidden "$work"
status=$?
cp -f "$work"/*.png "$work/frames.log" "$out"/ 2>/dev/null
[ $status -eq 0 ] || exit 1

grep -q "received 1B A4 00 04 50 E0 82 C0$" "$work/frames.log" ||
  { echo "the installed panel sent no inquiry over its USB library"; exit 1; }
for library in libgrenlo.so libtarquil.so; do
  grep -qs "file=$root/lib/vornik/$library " "$work"/loader.* ||
    { echo "$library was not loaded from $root/lib/vornik"; exit 1; }
done
echo "installed panel ran from $root; screenshots in $out"
