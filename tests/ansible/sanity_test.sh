#!/usr/bin/env bash
# ansible-test sanity on the collection, laid out as it expects
# (.../ansible_collections/vornik/device): the tests that need nothing from the network. The
# others (ansible-doc, import, pep8, pylint, runtime-metadata, validate-modules, yamllint)
# install their tools from PyPI into a virtual environment first; in their place, ansible-doc
# must read every module's documentation. Argument: the collection's folder.
set -u
collection=$1
command -v ansible-test >/dev/null || { echo "ansible-core is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/ansible_collections/vornik/device
mkdir -p "$root"
cp -r "$collection"/. "$root"
rm -f "$root/CMakeLists.txt"
cd "$root" || exit 1
python=$(/usr/bin/python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')
needs_network=(ansible-doc import pep8 pylint runtime-metadata validate-modules yamllint)
ansible-test sanity --python "$python" --color no "${needs_network[@]/#/--skip-test=}" || exit 1
export ANSIBLE_COLLECTIONS_PATH=$work
for module in plugins/modules/*.py; do
  name=vornik.device.$(basename "$module" .py)
  ansible-doc --json "$name" | /usr/bin/python3 -c '
import json, sys
doc = json.load(sys.stdin)[sys.argv[1]]
missing = [part for part in ("doc", "examples", "return") if not doc.get(part)]
if missing:
    sys.exit("%s lacks %s" % (sys.argv[1], ", ".join(missing)))
print("%s: documentation, examples and results read" % sys.argv[1])' "$name" || exit 1
done
