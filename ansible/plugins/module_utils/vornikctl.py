# -*- coding: utf-8 -*-
# Runs vornikctl for the collection's modules: the device options they share, the command
# line they give, and a failed command turned into a failed task.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

DEVICE_OPTIONS = dict(
    port=dict(type='str', choices=['usb', 'lpt1', 'ecp1']),
    device=dict(type='path'),
    vornikctl=dict(type='str', default='vornikctl'),
)

# vornikctl's exit statuses, as a task's result names them.
FAILURES = {
    1: 'failure',
    2: 'port busy',
    3: 'not responding',
    4: 'no device',
    5: 'permission denied',
    6: 'bad input',
    7: 'file error',
}


def module_options(**options):
    """The device options every module takes, with the module's own `options`."""
    return dict(DEVICE_OPTIONS, **options)


def fail_as_vornikctl(module, rc, message, **result):
    """Fails the task as vornikctl fails with exit status `rc`."""
    module.fail_json(msg=message, rc=rc, failure=FAILURES.get(rc, 'failure'), **result)


class Vornikctl(object):
    """vornikctl on the managed host, reaching the device the task names."""

    def __init__(self, module):
        self.module = module
        program = module.params['vornikctl']
        if '/' not in program:
            program = module.get_bin_path(program, required=True)
        self.command = [program]
        if module.params['port']:
            self.command += ['--port', module.params['port']]
        if module.params['device']:
            self.command += ['--device', module.params['device']]

    def run(self, *args):
        """vornikctl's standard output and the messages it gave on standard error."""
        command = self.command + list(args)
        rc, out, err = self.module.run_command(command)
        message = err.strip()
        if rc != 0:
            fail_as_vornikctl(self.module, rc, message or 'vornikctl ended with exit status %d' % rc,
                              cmd=command, stdout=out, stderr=err)
        return out, message.splitlines()

    def read_json(self, *args):
        out = self.run('--json', *args)[0]
        try:
            return json.loads(out)
        except ValueError:
            fail_as_vornikctl(self.module, 1, 'vornikctl %s did not print JSON' % ' '.join(args),
                              stdout=out)
