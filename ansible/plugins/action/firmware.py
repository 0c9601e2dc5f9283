# -*- coding: utf-8 -*-
# vornik.device.firmware takes its src from the controller.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

from ansible_collections.vornik.device.plugins.plugin_utils.controller_file import ControllerFileAction


class ActionModule(ControllerFileAction):

    MODULE = 'vornik.device.firmware'
