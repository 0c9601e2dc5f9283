#!/usr/bin/env bash
# vornikctl's --json output against its published schemas: info, settings get, advanced get,
# phonebook export and ports, read from vornik-devsim over its socket, each validated with the
# schema of its command; and a changed document must fail, so the check can fail.
# Arguments: the program folder and the folder of the schemas.
set -u
. "$(dirname "$0")/../support/private_locks.sh"
bin=$1
schemas=$2
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT

"$bin/vornik-devsim" --socket "$work/device.sock" &
sim=$!
for _ in $(seq 100); do [ -S "$work/device.sock" ] && break; sleep 0.1; done
[ -S "$work/device.sock" ] || { echo "simulator did not start"; exit 1; }

run() {
  local name=$1
  shift
  env -u VORNIK_USB_PORT "$bin/vornikctl" --json --device "$work/device.sock" "$@" >"$work/$name.json" ||
    { echo "vornikctl $* failed"; exit 1; }
}
run info info
run settings settings get
run advanced advanced get
run phonebook phonebook export
run ports ports

python3 - "$schemas" "$work" <<'PYTHON' || exit 1
import json, sys
import jsonschema

schemas, work = sys.argv[1], sys.argv[2]
failed = False
for name in ["info", "settings", "advanced", "phonebook", "ports"]:
    schema = json.load(open(f"{schemas}/{name}.schema.json"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    document = json.load(open(f"{work}/{name}.json"))
    errors = list(validator.iter_errors(document))
    for error in errors:
        print(f"{name}: {error.message} at {list(error.path)}")
    failed |= bool(errors)
    # A field the schema does not know, and one that is missing, must both be refused.
    changed = dict(document, unknown=1)
    if validator.is_valid(changed):
        print(f"{name}: the schema takes a field it does not name")
        failed = True
    first = next(iter(document))
    shortened = {k: v for k, v in document.items() if k != first}
    if validator.is_valid(shortened):
        print(f"{name}: the schema takes a document without {first}")
        failed = True
    print(f"{name}: {len(document)} fields valid")
sys.exit(1 if failed else 0)
PYTHON
