# -*- coding: utf-8 -*-
# The action of a module whose src is a file on the controller: the file is found as the copy
# module finds it, copied into the task's temporary folder on the managed host, and the module
# runs there with src naming that copy.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import os

from ansible.errors import AnsibleError
from ansible.plugins.action import ActionBase


class ControllerFileAction(ActionBase):

    TRANSFERS_FILES = True
    MODULE = None  # the module this action runs, by its full name

    def run(self, tmp=None, task_vars=None):
        result = super(ControllerFileAction, self).run(tmp, task_vars)
        del tmp  # the temporary folder is the connection's
        module_args = self._task.args.copy()
        try:
            if not module_args.get('src'):
                raise AnsibleError('src is required')
            local = self._find_needle('files', module_args['src'])
            shell = self._connection._shell
            # The copy keeps the file's name, whose extension tells its kind.
            remote = shell.join_path(shell.tmpdir, os.path.basename(local))
            self._transfer_file(local, remote)
            self._fixup_perms2((shell.tmpdir, remote))
            module_args['src'] = remote
            result.update(self._execute_module(module_name=self.MODULE, module_args=module_args,
                                               task_vars=task_vars))
        except AnsibleError as error:
            result.update(failed=True, msg=str(error))
        finally:
            self._remove_tmp_path(self._connection._shell.tmpdir)
        return result
