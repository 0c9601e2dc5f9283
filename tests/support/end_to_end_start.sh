# Sourced first by the scripts that run the real panel against the simulator, with their
# arguments: the program folder ($bin) and a folder for screenshots and logs ($out). Runs
# the script with private port locks, makes a scratch folder ($work) that goes, with every
# background job, when the script ends, and keeps the panel's leak report and runtime
# folder out of the way.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/private_locks.sh"
bin=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0
export XDG_RUNTIME_DIR=$work
