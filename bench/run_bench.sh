#!/usr/bin/env bash
# Runs vornik-bench as `./build.sh bench` does: under a virtual display, with a private
# /run/lock (the panel's port lock is machine-wide, so a panel running elsewhere on this
# machine would hold the port).
# Arguments: the program folder, the JSON file to write.
set -euo pipefail
. "$(dirname "$0")/../tests/support/private_locks.sh"
bin=$1
json=$2
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
mkdir -p "$(dirname "$json")"
# -noreset: the server would otherwise reset each time its last client leaves, and refuse
# the benchmark's next connection while it does.
XDG_RUNTIME_DIR=$runtime xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$bin/vornik-bench" --json "$json"
