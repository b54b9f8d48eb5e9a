# -*- coding: utf-8 -*-
# Copyright: 2026 The LM-360R Settings developers
# MIT License (see https://opensource.org/licenses/MIT)
"""Running lm360rctl for the modules of lm360r.printer: every printer exchange is its, and its JSON
documents are what the modules read. Nothing here speaks to a printer."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

# How lm360rctl is found and how long it waits for a printer in use; every module takes these.
PROGRAM_ARGUMENT_SPEC = dict(
    lm360rctl=dict(type='path'),
    wait=dict(type='float'),
)

# lm360rctl's exit status when no LM-360R printer was found.
EXIT_NO_PRINTER = 2


class Lm360rctl(object):
    """lm360rctl as a module runs it: the program named by the lm360rctl option or found on PATH."""

    def __init__(self, module):
        self.module = module
        self.program = module.params['lm360rctl'] or module.get_bin_path('lm360rctl', required=True)

    def printer_arguments(self, serial=None, every=False):
        """The options that choose the printers and how long to wait for them."""
        arguments = []
        if every:
            arguments.append('--all')
        if serial:
            arguments.extend(['--serial', serial])  # with --all too: lm360rctl says why not
        if self.module.params['wait'] is not None:
            arguments.extend(['--wait', '%g' % self.module.params['wait']])
        return arguments

    def run(self, arguments):
        """Runs lm360rctl with --json. Returns its exit status, its JSON document (None when it printed
        none, as on most failures) and what it said on stderr. What it says on stderr when it
        succeeds (which printer it took among several) becomes a warning of the task."""
        rc, out, err = self.module.run_command([self.program] + arguments + ['--json'])
        if rc == 0:
            for line in err.splitlines():
                if line.strip():
                    self.module.warn(line.strip())
        document = None
        if out.strip():
            try:
                document = json.loads(out)
            except ValueError:
                self.module.fail_json(msg='lm360rctl printed something other than a JSON document',
                                      rc=rc, stdout=out, stderr=err)
        return rc, document, err

    def fail(self, rc, err, **result):
        """Fails the task with lm360rctl's own words and its exit status."""
        message = err.strip() or 'lm360rctl ended with exit status %d' % rc
        self.module.fail_json(msg=message, rc=rc, stderr=err, **result)
