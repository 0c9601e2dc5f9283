# -*- coding: utf-8 -*-
# The options every module of the collection takes to reach the device through vornikctl.

from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):

    DOCUMENTATION = r'''
options:
  port:
    description:
      - The port to use, without discovery and without the fallback from USB to the parallel port
        (vornikctl's C(--port)).
      - When neither I(port) nor I(device) is given, vornikctl looks for the device as the panel does.
    type: str
    choices: [usb, lpt1, ecp1]
  device:
    description:
      - A character device or bridge socket to open for the port instead of the system's
        (vornikctl's C(--device)), such as the socket of C(vornik-devsim).
    type: path
  vornikctl:
    description:
      - The vornikctl program on the managed host, as a path or a name looked up on the C(PATH).
    type: str
    default: vornikctl
notes:
  - The module runs vornikctl on the managed host, the host the device is attached to.
  - A failure of vornikctl fails the task with vornikctl's message in C(msg), its exit status in
    C(rc) and what the status means in C(failure).
'''
