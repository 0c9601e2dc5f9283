#!/usr/bin/python
# -*- coding: utf-8 -*-

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: firmware
short_description: Brings the device to the firmware version the task names
description:
  - Reads the device's firmware version (C(vornikctl info)) and sends the image from the controller
    (C(vornikctl firmware)) only when that version differs from I(version).
  - The device writes the image for some 40 seconds after the transfer, during which it must not be
    switched off.
version_added: 1.0.0
author: vornik maintainers (@vornik)
options:
  src:
    description:
      - The firmware image on the controller, found as the C(copy) module finds a file. It is copied
        to the managed host for each task.
    type: path
    required: true
  version:
    description:
      - The firmware version the image carries, as the device reports it (the fact
        C(vornik_device.firmware_version)).
    type: str
    required: true
extends_documentation_fragment:
  - vornik.device.device
attributes:
  check_mode:
    description: Reads the device's version and reports whether the image would be sent; sends nothing.
    support: full
  diff_mode:
    description: The device's firmware version before, and the task's after.
    support: full
'''

EXAMPLES = r'''
- name: Firmware 2.20 on every device
  vornik.device.firmware:
    src: firmware/mfp-2.20.bin
    version: "2.20"
'''

RETURN = r'''
firmware_version:
  description: The firmware version the device reported before the task.
  returned: success
  type: str
  sample: '2.14'
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.vornik.device.plugins.module_utils.vornikctl import (
    Vornikctl, module_options)


def main():
    module = AnsibleModule(
        argument_spec=module_options(src=dict(type='path', required=True),
                                           version=dict(type='str', required=True)),
        supports_check_mode=True)
    vornikctl = Vornikctl(module)
    current = vornikctl.read_json('info')['firmware-version']
    result = dict(changed=current != module.params['version'], firmware_version=current)
    if module._diff:
        result['diff'] = dict(before='firmware %s\n' % current,
                              after='firmware %s\n' % module.params['version'])
    if result['changed'] and not module.check_mode:
        vornikctl.run('firmware', module.params['src'])
    module.exit_json(**result)


if __name__ == '__main__':
    main()
