#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: facts
short_description: Reads the device's versions, counters and model as facts
description:
  - Reads the device's Information page with C(vornikctl info) and sets the fact C(vornik_device).
  - The fact's keys are vornikctl's field names with C(_) in place of C(-).
version_added: 1.0.0
author: vornik maintainers (@vornik)
extends_documentation_fragment:
  - vornik.device.device
'''

EXAMPLES = r'''
- name: Read the device
  vornik.device.facts:

- name: Name the firmware of each device
  ansible.builtin.debug:
    msg: "{{ inventory_hostname }} runs firmware {{ vornik_device.firmware_version }}"
'''

RETURN = r'''
ansible_facts:
  description: The fact C(vornik_device).
  returned: success
  type: complex
  contains:
    vornik_device:
      description: What C(vornikctl --json info) reads.
      returned: success
      type: dict
      sample:
        firmware_version: '2.14'
        engine_version: V1.3.2
        emulation_version: MARV 1.21 04-08-2003
        free_memory: 87
        print_count: 5127
        platen_scan_count: 1843
        adf_scan_count: 962
        adf_jam_count: 4
        print_jam_count: 7
        replaced_toner_count: 3
        model: 2
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.vornik.device.plugins.module_utils.vornikctl import (
    Vornikctl, module_options)


def main():
    module = AnsibleModule(argument_spec=module_options(), supports_check_mode=True)
    info = Vornikctl(module).read_json('info')
    device = dict((name.replace('-', '_'), value) for name, value in info.items())
    module.exit_json(changed=False, ansible_facts=dict(vornik_device=device))


if __name__ == '__main__':
    main()
