#!/bin/bash
# Runs one scenario inside the guest: waits for the printer, runs the scenario's steps, then checks that
# usblp is bound again and writes the verdict. Usage (by init.sh): guest.sh OUT_DIR
out=$1
source "$out/env.sh"
source "$source_dir/tests/kernel/guest-lib.sh"
source "$source_dir/tests/kernel/guest-users.sh"
source "$source_dir/tests/kernel/guest-cups.sh"
source "$source_dir/tests/kernel/guest-soak.sh"
source "$scenario_file"

note "scenario $(basename "$scenario_file" .sh) on kernel $(uname -r)"
if wait_for_driver usblp 20; then
  note "printer present with usblp bound after $(cut -d' ' -f1 /proc/uptime) s of guest time"
  scenario
else
  problem "no printer interface with usblp bound within 20 s (driver: $(driver))"
fi
wait_for_driver usblp 10 || problem "at the end the printer interface has driver $(driver), not usblp"
note "driver at the end: $(driver)"
note "settings at the end:"
grep -E '^[a-z-]+ = ' "$out/printer.state" | sed 's/^/  /' >>"$report"
if [ "$failures" -eq 0 ]; then
  note "scenario passed"
else
  note "scenario failed: $failures check(s)"
fi
