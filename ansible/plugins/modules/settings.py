#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: settings
short_description: Keeps the device's settings and advanced settings as declared
description:
  - Reads the Settings and Advanced records of the device (C(vornikctl settings get),
    C(vornikctl advanced get)), compares the fields named with what the device holds, and sends
    only the fields that differ (C(vornikctl settings set), C(vornikctl advanced set)).
  - Nothing is sent when every field named already has its value; the task is then not changed.
  - Each value is checked by vornikctl against the list or range the panel's page enforces; one
    value refused refuses the whole record, and nothing of it is sent.
version_added: 1.0.0
author: vornik maintainers (@vornik)
options:
  settings:
    description:
      - Fields of the Settings record, named as vornikctl names them (C(vornikctl settings set --help)),
        such as C(zoom), C(copies), C(tray-paper-size) or C(rings-to-answer).
      - A list field takes the word of its item (C(a4), C(on-error)); YAML's C(true) and C(false)
        (also an unquoted C(on) or C(off)) are taken as C(on) and C(off).
      - C(contrast), C(document-mode) and C(receive-mode) are shown only and cannot be set.
    type: dict
  advanced:
    description:
      - Fields of the Advanced record, named as vornikctl names them (C(vornikctl advanced set --help)),
        such as C(machine-id), C(machine-number), C(ringer) or C(toll-start).
      - The device keeps C(machine-id) in capitals, so its letters are compared as capitals.
    type: dict
extends_documentation_fragment:
  - vornik.device.device
attributes:
  check_mode:
    description: Reads the device and reports what would change; sends nothing.
    support: full
  diff_mode:
    description: The fields that change, with the device's value before and the task's after.
    support: full
'''

EXAMPLES = r'''
- name: The same copier defaults on every device
  vornik.device.settings:
    settings:
      zoom: 100
      copies: 1
      tray-paper-size: a4
      sending-confirmation: on-error
    advanced:
      machine-id: Head office
      ringer: low
      toll-saver: "off"

- name: A device on a port of its own
  vornik.device.settings:
    port: usb
    device: /dev/usb/lp1
    settings:
      rings-to-answer: 4
'''

RETURN = r'''
changes:
  description: The fields sent (or, in check mode, that would be sent), as C(field=value) per record.
  returned: always
  type: dict
  sample: {settings: [zoom=150, copies=3], advanced: []}
settings:
  description: The Settings record as the device holds it after the task (in check mode, as it would).
  returned: when I(settings) is given
  type: dict
  sample: {zoom: 150, copies: 3, tray-paper-size: letter}
advanced:
  description: The Advanced record as the device holds it after the task (in check mode, as it would).
  returned: when I(advanced) is given
  type: dict
  sample: {machine-id: HEAD OFFICE, ringer: low}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.six import integer_types
from ansible_collections.vornik.device.plugins.module_utils.vornikctl import (
    Vornikctl, module_options, fail_as_vornikctl)

RECORDS = (('settings', 'settings'), ('advanced', 'advanced settings'))

# Fields whose value the device keeps otherwise than it is given.
DEVICE_FORM = {'machine-id': lambda text: text.upper()}


def value_text(value):
    """A value as vornikctl's set takes it: YAML's booleans are the lists' on and off."""
    if isinstance(value, bool):
        return 'on' if value else 'off'
    return str(value)


def device_form(name, value):
    return DEVICE_FORM.get(name, lambda text: text)(value_text(value))


def kept_value(old, text):
    """The value as `get` would show it once `text` is set: numbers stay numbers."""
    if isinstance(old, integer_types) and not isinstance(old, bool) and text.isdigit():
        return int(text)
    return text


def differing_fields(module, what, desired, current):
    unknown = [name for name in desired if name not in current]
    if unknown:
        fail_as_vornikctl(module, 6, '; '.join('the %s have no field "%s"' % (what, name)
                                               for name in unknown))
    return [(name, device_form(name, value)) for name, value in desired.items()
            if device_form(name, value) != device_form(name, current[name])]


def main():
    module = AnsibleModule(
        argument_spec=module_options(settings=dict(type='dict'), advanced=dict(type='dict')),
        required_one_of=[('settings', 'advanced')],
        supports_check_mode=True)
    vornikctl = Vornikctl(module)
    result = dict(changed=False, changes={})
    before, after = {}, {}
    for record, what in RECORDS:
        desired = module.params[record]
        if not desired:
            continue
        current = vornikctl.read_json(record, 'get')
        changes = differing_fields(module, what, desired, current)
        result['changes'][record] = ['%s=%s' % change for change in changes]
        if changes:
            result['changed'] = True
            before[record] = dict((name, current[name]) for name, text in changes)
            after[record] = dict((name, kept_value(current[name], text)) for name, text in changes)
            if not module.check_mode:
                vornikctl.run(record, 'set', *result['changes'][record])
            current.update(after[record])
        result[record] = current
    if module._diff:
        result['diff'] = dict(before=before, after=after)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
