# -*- coding: utf-8 -*-
# Copyright: 2026 The LM-360R Settings developers
# MIT License (see https://opensource.org/licenses/MIT)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: lm360r_info
short_description: The Tamblor LM-360R label printers attached and their settings
version_added: 1.0.0
description:
  - Lists the Tamblor LM-360R USB label printers attached to the managed host, each with its
    settings, for reports and for copying one printer's settings to others.
  - Runs C(lm360rctl get) on the managed host; nothing is written to a printer.
author:
  - The LM-360R Settings developers (@lm360r)
requirements:
  - lm360rctl (the package of the same name) on the managed host, and access to the printer for the
    user the task runs as (the udev rule of the lm360r-udev package, or the lp group).
options:
  serial:
    description:
      - Only the printer with this serial number; it must be attached. Without it, every LM-360R
        attached (none is no failure).
    type: str
  lm360rctl:
    description:
      - The lm360rctl program to run. By default it is looked for on C(PATH).
    type: path
  wait:
    description:
      - How many seconds to wait for a printer that another program is using (lm360rctl's own
        default is 5).
    type: float
extends_documentation_fragment:
  - ansible.builtin.action_common_attributes
attributes:
  check_mode:
    support: full
    details: Nothing is written in any mode.
  diff_mode:
    support: none
  platform:
    platforms: posix
notes:
  - A failure carries lm360rctl's own message in C(msg) and its exit status in C(rc).
seealso:
  - module: lm360r.printer.lm360r_settings
'''

EXAMPLES = r'''
- name: Read every label printer
  lm360r.printer.lm360r_info:
  register: label_printers

- name: Report the ones that switch themselves off
  ansible.builtin.debug:
    msg: "{{ item.printer.serial }} switches off after {{ item.settings['auto-power-off'] }} minutes"
  loop: "{{ label_printers.printers }}"
  when: item.settings['auto-power-off'] != '0'
'''

RETURN = r'''
printers:
  description: The LM-360R printers read, in the order they are attached.
  returned: always
  type: list
  elements: dict
  contains:
    printer:
      description: Who the printer says it is.
      type: dict
      contains:
        manufacturer:
          description: Its USB manufacturer string.
          type: str
          sample: Tamblor
        product:
          description: Its USB product string.
          type: str
          sample: LM-360R
        serial:
          description: Its serial number.
          type: str
          sample: A1B2C3
    settings:
      description:
        - Each setting's value as the word C(lm360rctl get) prints, which M(lm360r.printer.lm360r_settings)
          takes; null for a value no word stands for. C(command-mode) is read-only.
      type: dict
      sample: {power-on: "off", auto-power-off: "60", network: "3", info-print: "1", command-mode: "1"}
    details:
      description: lm360rctl's own entries for the settings, with the window's text for each value and the byte the printer sent.
      type: list
      elements: dict
      sample:
        - {setting: auto-power-off, value: "60", text: 60 min, byte: 6}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.lm360r.printer.plugins.module_utils.lm360rctl import (
    EXIT_NO_PRINTER,
    PROGRAM_ARGUMENT_SPEC,
    Lm360rctl,
)


def described(entry):
    details = entry.get('settings', [])
    return dict(
        printer=entry.get('printer'),
        settings=dict((s['setting'], s['value']) for s in details),
        details=details,
    )


def main():
    argument_spec = dict(serial=dict(type='str'))
    argument_spec.update(PROGRAM_ARGUMENT_SPEC)
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True)
    serial = module.params['serial']
    lm360rctl = Lm360rctl(module)
    rc, document, err = lm360rctl.run(['get'] + lm360rctl.printer_arguments(serial, not serial))
    if document is None:
        entries = []
    elif serial:
        entries = [document]
    else:
        entries = document.get('printers', [])
    printers = [described(entry) for entry in entries if 'settings' in entry]
    if rc == EXIT_NO_PRINTER and not serial and document is None:
        module.exit_json(changed=False, printers=[])  # nothing attached is an answer, not a failure
    if rc != 0:
        lm360rctl.fail(rc, err, printers=printers)
    module.exit_json(changed=False, printers=printers)


if __name__ == '__main__':
    main()
