#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: phonebook
short_description: Keeps the device's phonebook as a CSV, vCard or phonebook file declares it
description:
  - Takes the desired phonebook from a file on the controller, which the task copies to the managed
    host, and compares its entries with the device's (C(vornikctl phonebook export)).
  - A CSV or vCard file passes the rules of the panel's entry and group dial dialogs, as
    C(vornikctl phonebook import) applies them; a phonebook file (.pbf) is taken as it is.
  - Only when the entries differ is the phonebook written (C(vornikctl phonebook put)), and only
    after the device's phonebook was kept in a backup file on the managed host.
version_added: 1.0.0
author: vornik maintainers (@vornik)
options:
  src:
    description:
      - The desired phonebook on the controller, found as the C(copy) module finds a file (in the
        role's or playbook's C(files) folder, or as a path).
    type: path
    required: true
  format:
    description:
      - The kind of I(src). C(auto) takes it from the file's extension (C(.csv), C(.vcf) or
        C(.vcard), C(.pbf)).
    type: str
    choices: [auto, csv, vcard, pbf]
    default: auto
  skip_bad:
    description:
      - Takes the rows of a CSV or vCard file that pass the dialogs' rules and skips the others,
        each reason given as a warning. Otherwise one refused row fails the task and nothing is written.
    type: bool
    default: false
  allow_empty:
    description:
      - Takes a CSV or vCard file without rows as an empty phonebook. Otherwise such a file fails the task.
    type: bool
    default: false
  backup_dir:
    description:
      - The folder on the managed host that keeps the device's phonebook before it is replaced, as
        C(phonebook-backup-YYYYMMDD-HHMMSS.pbf). Made, private to its user, when missing.
      - C(vornikctl phonebook put) of the backup gives the device back what it held.
    type: path
    default: ~/vornik-backups
extends_documentation_fragment:
  - vornik.device.device
attributes:
  check_mode:
    description: Reads the device's phonebook and reports whether it would be written; sends nothing.
    support: full
  diff_mode:
    description: The device's entries before and the file's after, one line per speed dial.
    support: full
'''

EXAMPLES = r'''
- name: The office phonebook on every device
  vornik.device.phonebook:
    src: office-phonebook.csv

- name: From a vCard export, leaving out what the device cannot take
  vornik.device.phonebook:
    src: contacts.vcf
    skip_bad: true
    backup_dir: /var/backups/vornik
'''

RETURN = r'''
entries:
  description: How many entries the desired phonebook holds.
  returned: success
  type: int
  sample: 12
backup_file:
  description: The backup of the device's phonebook, taken before it was written.
  returned: when the phonebook was written
  type: str
  sample: /home/office/vornik-backups/phonebook-backup-20261209-061500.pbf
'''

import os
import time

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.vornik.device.plugins.module_utils.vornikctl import (
    Vornikctl, module_options, fail_as_vornikctl)

FORMATS = {'.csv': 'csv', '.vcf': 'vcard', '.vcard': 'vcard', '.pbf': 'pbf'}
IMPORT_FLAGS = {'csv': '--csv', 'vcard': '--vcf'}


def format_of(module):
    chosen = module.params['format']
    if chosen != 'auto':
        return chosen
    extension = os.path.splitext(module.params['src'])[1].lower()
    if extension not in FORMATS:
        fail_as_vornikctl(module, 6, '%s: name its format (csv, vcard or pbf); its extension '
                          'does not' % module.params['src'])
    return FORMATS[extension]


def desired_phonebook_file(module, vornikctl):
    """The desired phonebook as a phonebook file on the managed host."""
    kind = format_of(module)
    if kind == 'pbf':
        return module.params['src']
    path = os.path.join(module.tmpdir, 'desired.pbf')
    args = ['phonebook', 'import', module.params['src'], IMPORT_FLAGS[kind], '--file', path]
    if module.params['skip_bad']:
        args.append('--skip-bad')
    if module.params['allow_empty']:
        args.append('--allow-empty')
    for reason in vornikctl.run(*args)[1]:
        module.warn(reason)
    return path


def entry_lines(entries):
    lines = []
    for entry in entries:
        dialled = entry.get('phone-number', ' '.join(str(m) for m in entry.get('members', [])))
        lines.append('%02d %s: %s\n' % (entry['speed-dial'], entry['name'], dialled))
    return ''.join(lines)


def backup_path(folder):
    if not os.path.isdir(folder):
        os.makedirs(folder, 0o700)
    stem = os.path.join(folder, time.strftime('phonebook-backup-%Y%m%d-%H%M%S'))
    path, n = stem + '.pbf', 2
    while os.path.exists(path):
        path, n = '%s-%d.pbf' % (stem, n), n + 1
    return path


def main():
    module = AnsibleModule(
        argument_spec=module_options(
            src=dict(type='path', required=True),
            format=dict(type='str', choices=['auto', 'csv', 'vcard', 'pbf'], default='auto'),
            skip_bad=dict(type='bool', default=False),
            allow_empty=dict(type='bool', default=False),
            backup_dir=dict(type='path', default='~/vornik-backups')),
        supports_check_mode=True)
    vornikctl = Vornikctl(module)
    desired_file = desired_phonebook_file(module, vornikctl)
    desired = vornikctl.read_json('phonebook', 'export', '--file', desired_file)['entries']
    current = vornikctl.read_json('phonebook', 'export')['entries']
    result = dict(changed=desired != current, entries=len(desired))
    if module._diff:
        result['diff'] = dict(before=entry_lines(current), after=entry_lines(desired))
    if result['changed'] and not module.check_mode:
        result['backup_file'] = backup_path(module.params['backup_dir'])
        vornikctl.run('phonebook', 'put', desired_file, '--backup', result['backup_file'])
    module.exit_json(**result)


if __name__ == '__main__':
    main()
