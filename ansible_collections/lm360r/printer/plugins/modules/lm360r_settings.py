# -*- coding: utf-8 -*-
# Copyright: 2026 The LM-360R Settings developers
# MIT License (see https://opensource.org/licenses/MIT)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: lm360r_settings
short_description: Keep the settings of Tamblor LM-360R label printers as wanted
version_added: 1.0.0
description:
  - Brings the settings of a Tamblor LM-360R USB label printer to the values given, writing only the
    settings whose value differs. A second run with the same values writes nothing and reports no
    change.
  - Runs C(lm360rctl apply) on the managed host, which reads each setting, writes those that differ,
    reads each written one back and compares.
  - With more than one LM-360R attached, name one with C(serial) or take all with C(all); otherwise
    the first one found is used.
author:
  - The LM-360R Settings developers (@lm360r)
requirements:
  - lm360rctl (the package of the same name) on the managed host, and access to the printer for the
    user the task runs as (the udev rule of the lm360r-udev package, or the lp group).
options:
  settings:
    description:
      - The value wanted for each setting, as the word C(lm360rctl get) prints for it.
      - C(power-on) takes C(off) or C(on); C(auto-power-off) the minutes C(0), C(10), C(20), C(30),
        C(40), C(50) or C(60); C(network) and C(info-print) C(1), C(2) or C(3) (the first, second or
        third choice of the LM-360R Settings window).
      - C(command-mode) is read-only and refused, as are unknown settings and values.
      - YAML reads an unquoted C(on) or C(off) as true or false; these are taken as C(on) and C(off).
    type: dict
    required: true
  serial:
    description:
      - The serial number of the printer to change. Never reaches a printer of another make.
      - Not together with C(all); lm360rctl refuses the two.
    type: str
  all:
    description:
      - Change every LM-360R attached, one after the other. One printer's failure does not stop the
        others, but fails the task.
      - Not together with C(serial).
    type: bool
    default: false
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
    details: Reads the printer and says what would change (C(lm360rctl apply --check)); writes nothing.
  diff_mode:
    support: full
    details: The settings given, before and after, one diff per printer.
  platform:
    platforms: posix
notes:
  - A failure carries lm360rctl's own message in C(msg) and its exit status in C(rc)
    (see C(man lm360rctl)); 4 means a printer answered another value than the one written.
seealso:
  - module: lm360r.printer.lm360r_info
'''

EXAMPLES = r'''
- name: Printers at the front desk stay on and print the full report
  lm360r.printer.lm360r_settings:
    settings:
      power-on: "on"
      auto-power-off: 0
      info-print: 1
    all: true

- name: One printer by its serial number
  lm360r.printer.lm360r_settings:
    serial: A1B2C3
    settings:
      network: 2

- name: Copy one printer's settings to another (command-mode is read-only)
  block:
    - name: Read the printer that is set up right
      lm360r.printer.lm360r_info:
        serial: A1B2C3
      register: model

    - name: Give the other one the same settings
      lm360r.printer.lm360r_settings:
        serial: D4E5F6
        settings: "{{ model.printers[0].settings | dict2items | rejectattr('key', 'eq', 'command-mode') | items2dict }}"
'''

RETURN = r'''
printer:
  description: The printer changed (or that would be changed in check mode).
  returned: unless C(all) is true
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
  description: Each setting given, with its value before and after; values are the words C(lm360rctl get) prints, null for a value no word stands for.
  returned: unless C(all) is true
  type: list
  elements: dict
  sample:
    - {setting: power-on, desired: "on", before: "off", after: "on", changed: true}
    - {setting: auto-power-off, desired: "0", before: "0", after: "0", changed: false}
  contains:
    setting:
      description: The setting's name.
      type: str
    desired:
      description: The value asked for.
      type: str
    before:
      description: The value the printer held before.
      type: str
    after:
      description: The value the printer answered afterwards; in check mode, the value it would hold.
      type: str
    changed:
      description: Whether the value changed (in check mode, would change).
      type: bool
printers:
  description: Each LM-360R attached, with what lm360rctl did to it.
  returned: when C(all) is true
  type: list
  elements: dict
  contains:
    printer:
      description: The printer, as C(printer) above.
      type: dict
    settings:
      description: Its settings, as C(settings) above; missing when the printer could not be read.
      type: list
      elements: dict
    changed:
      description: Whether any of its settings changed.
      type: bool
    exit_status:
      description: lm360rctl's exit status for this printer.
      type: int
    errors:
      description: What lm360rctl said went wrong with this printer.
      type: list
      elements: str
      returned: when something went wrong
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.lm360r.printer.plugins.module_utils.lm360rctl import (
    PROGRAM_ARGUMENT_SPEC,
    Lm360rctl,
)


def value_word(value):
    """The word for a value as the playbook gave it: YAML's true and false for on and off."""
    if isinstance(value, bool):
        return 'on' if value else 'off'
    return str(value)


def shown(value):
    return 'unknown' if value is None else value


def printer_diff(printer, settings):
    label = (printer or {}).get('serial') or 'LM-360R'
    before = ''.join('%s: %s\n' % (s['setting'], shown(s['before'])) for s in settings)
    after = ''.join('%s: %s\n' % (s['setting'], shown(s['after'])) for s in settings)
    return dict(before=before, after=after, before_header=label, after_header=label)


def main():
    argument_spec = dict(
        settings=dict(type='dict', required=True),
        serial=dict(type='str'),
        all=dict(type='bool', default=False),
    )
    argument_spec.update(PROGRAM_ARGUMENT_SPEC)
    module = AnsibleModule(
        argument_spec=argument_spec,
        supports_check_mode=True,
    )
    every = module.params['all']
    lm360rctl = Lm360rctl(module)
    arguments = ['apply']
    arguments.extend('%s=%s' % (name, value_word(value)) for name, value in sorted(module.params['settings'].items()))
    arguments.extend(lm360rctl.printer_arguments(module.params['serial'], every))
    if module.check_mode:
        arguments.append('--check')
    rc, document, err = lm360rctl.run(arguments)

    result = dict(changed=False)
    diffs = []
    if document is not None:
        result['changed'] = bool(document.get('changed'))
        if every:
            result['printers'] = document.get('printers', [])
            diffs = [printer_diff(p.get('printer'), p.get('settings', [])) for p in result['printers']]
        else:
            result['printer'] = document.get('printer')
            result['settings'] = document.get('settings', [])
            diffs = [printer_diff(result['printer'], result['settings'])]
    if module._diff and diffs:
        result['diff'] = diffs if every else diffs[0]
    if rc != 0:
        lm360rctl.fail(rc, err, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
