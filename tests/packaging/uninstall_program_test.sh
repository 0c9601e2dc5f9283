#!/usr/bin/env bash
# The uninstall program as the package's postrm runs it: from a folder of its own with
# the hook beside it, after the product's files are gone. It removes the product's empty
# menu folder, keeps one that holds a file, and fails loudly without a hook.
# Arguments: the uninstall program, the hook.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$2" "$work"/
export XDG_DATA_HOME=$work/data
menu="$XDG_DATA_HOME/applications/Veltrane Pralline RT20"
run() {
  # The hook also cleans the system's folders; its other tests use them under this lock.
  flock /tmp/corvane-exports-test.lock "$work/vornik-uninstall" "$@"
}

mkdir -p "$menu"
run || { echo "the uninstall program failed"; exit 1; }
[ ! -e "$menu" ] || { echo "the empty menu folder is still there"; exit 1; }

mkdir -p "$menu" && touch "$menu/vornik.desktop"
run "$work/libcorvane.so" || { echo "the uninstall program failed with a named hook"; exit 1; }
[ -e "$menu/vornik.desktop" ] || { echo "a menu folder holding a file was removed"; exit 1; }

rm "$work/libcorvane.so"
message=$(run 2>&1) && { echo "no hook, yet the uninstall program succeeded"; exit 1; }
case "$message" in
  vornik-uninstall:*libcorvane.so*) ;;
  *) echo "no hook, and the message does not say so: $message"; exit 1 ;;
esac
echo "the uninstall program ran the hook"
