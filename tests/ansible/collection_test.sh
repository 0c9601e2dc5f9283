#!/usr/bin/env bash
# The Ansible collection as a user gets it (built with ansible-galaxy, installed from its
# archive) against vornik-devsim over its socket, on localhost with the local connection:
#  1. a settings change and a phonebook are applied: the run reports changes;
#  2. the same run again reports nothing changed, and the simulator's frame log of that
#     run holds no write;
#  3. other values in check mode with diff report the changes, with old and new values,
#     and send nothing;
#  4. meanwhile, on a simulator of its own, the device's facts are read, and a device that
#     does not answer, a value out of range, an unknown field and a bad phonebook row each
#     fail their task with vornikctl's message and exit status.
# Prints the frames each run sent the device. Arguments: the program folder, the
# collection's folder.
set -u
. "$(dirname "$0")/../support/private_locks.sh"
bin=$(cd "$1" && pwd)
collection=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v ansible-playbook >/dev/null || { echo "ansible-core is not installed"; exit 77; }
work=$(mktemp -d)
sims=()
trap 'kill "${sims[@]}" 2>/dev/null; wait 2>/dev/null; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

fail() { echo "FAILED: $*"; exit 1; }

simulator() {  # simulator NAME [options]: a simulator on $work/NAME.sock
  local name=$1
  shift
  "$bin/vornik-devsim" --socket "$work/$name.sock" "$@" >/dev/null &
  sims+=($!)
  for _ in $(seq 100); do [ -S "$work/$name.sock" ] && return; sleep 0.1; done
  fail "the simulator $name did not start"
}
simulator device --log "$work/device.log"
simulator spare --log "$work/spare.log"
simulator silent --fault silent

ansible-galaxy collection build "$collection" --output-path "$work" >"$work/build.log" 2>&1 ||
  { cat "$work/build.log"; fail "ansible-galaxy collection build"; }
ansible-galaxy collection install --offline -p "$work/collections" "$work"/vornik-device-*.tar.gz \
  >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "ansible-galaxy collection install"; }

export ANSIBLE_COLLECTIONS_PATH=$work/collections
export ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_REMOTE_TEMP=$work/tmp ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_LOCALHOST_WARNING=0
export ANSIBLE_INVENTORY_UNPARSED_WARNING=0 ANSIBLE_DEPRECATION_WARNINGS=0
head -c 8192 /dev/zero >"$work/firmware.bin"

# own_locks COMMAND...: runs the command with a port lock folder of its own, so that it may
# take the port while another run holds it (the lock is one per port for the whole machine).
own_locks() {
  unshare --mount --propagation private bash -c 'mount -t tmpfs tmpfs /run/lock && exec "$@"' _ "$@"
}

# [wrap=own_locks] play NAME PLAYBOOK SIMULATOR [ansible-playbook options]: runs it on that simulator, keeps
# its output in $work/NAME.out and the results of device.yml's tasks in $work/NAME.json, and
# prints the frames the device received meanwhile (also kept in $work/NAME.frames).
play() {
  local name=$1 playbook=$2 sim=$3
  shift 3
  local before
  before=$(wc -l <"$work/$sim.log")
  $wrap ansible-playbook -i localhost, "$here/$playbook" -e "device=$work/$sim.sock" \
    -e "silent_device=$work/silent.sock" -e "vornikctl=$bin/vornikctl" \
    -e "firmware_image=$work/firmware.bin" -e "backups=$work/backups" -e "results=$work/$name.json" "$@" >"$work/$name.out" 2>&1
  local status=$?
  # A received frame starts 1B A4; its operation byte C2 writes a record, 05 a firmware block.
  tail -n +"$((before + 1))" "$work/$sim.log" | awk -v run="$name" '
    $2 == "received" && $3 == "1B" && $4 == "A4" { frames++; if ($10 == "C2" || $10 == "05") writes++ }
    END { printf "%-8s %3d frames received by the device, %d of them writes\n", run, frames, writes }' \
    >"$work/$name.frames"
  cat "$work/$name.frames"
  return $status
}

# changed NAME: the tasks the run reports changed.
changed() { sed -n 's/^localhost *: .* changed=\([0-9]*\) .*/\1/p' "$work/$1.out"; }

# result NAME EXPRESSION: a Python expression on device.yml's registered results (`settings`,
# `phonebook`, `firmware`) that must hold.
result() {
  python3 - "$work/$1.json" "$2" <<'PYTHON'
import json, sys
results = json.load(open(sys.argv[1]))
if not eval(sys.argv[2], {}, results):
    print("does not hold: %s\n%s" % (sys.argv[2], json.dumps(results, indent=1)))
    sys.exit(1)
PYTHON
}
writes() { awk '{ print $(NF - 3) }' "$work/$1.frames"; }

# The failures wait for the silent device's time-outs: they run alongside the other runs
# where a lock folder of their own can be made, else after them.
wrap=
failures=
if unshare --mount true 2>/dev/null; then
  wrap=own_locks play failures facts_and_failures.yml spare >/dev/null &
  failures=$!
fi

play apply device.yml device -e zoom=150 -e phonebook_src=office.csv -e firmware_version=2.14 ||
  { cat "$work/apply.out"; fail "the first run"; }
[ "$(changed apply)" = 2 ] && result apply 'settings["changed"] and phonebook["changed"]' ||
  fail "the first run must change the settings and the phonebook, nothing else"
result apply 'sorted(settings["changes"]["advanced"]) == ["machine-id=FLEET DESK 7", "toll-saver=off"]' ||
  fail "the first run must send the advanced fields that differ, as the device keeps them"
[ "$(writes apply)" -ge 3 ] || fail "the first run must write the settings, advanced settings and phonebook"
ls "$work"/backups/phonebook-backup-*.pbf >/dev/null 2>&1 || fail "no phonebook backup was kept"

play again device.yml device -e zoom=150 -e phonebook_src=office.csv -e firmware_version=2.14 ||
  { cat "$work/again.out"; fail "the second run"; }
[ "$(changed again)" = 0 ] || fail "the second run must change nothing"
[ "$(writes again)" -eq 0 ] || fail "the second run wrote to the device"

play check device.yml device -e zoom=200 -e phonebook_src=other.csv -e firmware_version=3.00 --check --diff ||
  { cat "$work/check.out"; fail "the check run"; }
[ "$(changed check)" = 3 ] || fail "the check run must report the settings, phonebook and firmware"
result check 'settings["diff"] == {"before": {"settings": {"zoom": 150}}, "after": {"settings": {"zoom": 200}}}' ||
  fail "the check run's diff must give the old and new zoom"
result check '"00 WAREHOUSE: 5550187" in phonebook["diff"]["after"] and "01 FLEET OFFICE: 5550177" in phonebook["diff"]["before"]' ||
  fail "the check run's phonebook diff must give the old and new entries"
[ "$(writes check)" -eq 0 ] || fail "the check run wrote to the device"

{ if [ -n "$failures" ]; then wait "$failures"; else play failures facts_and_failures.yml spare >/dev/null; fi; } ||
  { cat "$work/failures.out"; fail "the facts or the failures"; }
cat "$work/failures.frames"
[ "$(writes failures)" -eq 0 ] || fail "a refused task wrote to the device"
echo "collection: idempotent on the simulator; check mode and failures as expected"
