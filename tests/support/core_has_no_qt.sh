#!/usr/bin/env bash
# Fails when a core source (or the header beside it) includes a Qt header.
# Arguments: the source folder, and a file listing the core's sources, one absolute path
# a line; everything under link/, platform/, devsim/ and ctl/ is checked as well.
set -u
root=$1
list=$2
files=()
while IFS= read -r src; do
  [ -n "$src" ] || continue
  for f in "$src" "${src%.*}.h"; do
    [ -f "$f" ] && files+=("$f")
  done
done < "$list"
while IFS= read -r f; do files+=("$f"); done < <(find "$root/link" "$root/platform" "$root/devsim" "$root/ctl" -type f \( -name '*.h' -o -name '*.cpp' \))
if [ ${#files[@]} -lt 2 ]; then
  echo "no core sources found"
  exit 1
fi
hits=$(grep -nE '^\s*#\s*include\s*[<"](Q[A-Za-z]|qt)' "${files[@]}")
if [ -n "$hits" ]; then
  echo "Qt headers included in the core:"
  echo "$hits"
  exit 1
fi
echo "checked ${#files[@]} core files: no Qt"
