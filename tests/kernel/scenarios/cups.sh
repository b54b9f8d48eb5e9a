# CUPS printing to the same printer through its own libusb `usb` backend, beside our programs: a job sent
# while an exchange runs prints whole after it; an exchange while a job prints waits for it, or says the
# printer is in use past --wait; and CUPS still prints after any of our runs, a killed one included. Every
# job's bytes at the printer are compared with the job. CUPS's backend keeps the printer up to 8 s after a
# job, waiting for its back channel, which this printer never uses.
guest_seconds=400

scenario() {
  local job=$TMPDIR/job
  start_cups || return

  # (a) A job sent while a run reads all five settings: the backend retries its claim until the run is
  # done (or slips in between two of its exchanges, which then wait for it), and the job prints whole.
  make_job "$job-a" 300 sent-during-exchanges
  start exchanges-then-job "$ctl" --wait 20 get
  wait_for_out_bytes $(($(out_bytes) + 9))
  print_job a "$job-a"
  # The backend may have the printer by now: usblp comes back when both are done.
  driver_after=- finish exchanges-then-job 0
  expect_out exchanges-then-job '^command-mode: '
  wait_for_cups_idle
  wait_for_driver usblp 5 || problem "after the job and the run the printer has driver $(driver), not usblp"
  expect_cups_job a "$job-a" sent-during-exchanges

  # (b) A run while a job is being printed waits for the backend to let go, or says the printer is in
  # use when told to wait less; the job prints whole either way.
  make_job "$job-b" 300 printing-while-runs-wait
  local base
  base=$(out_bytes)
  print_job b "$job-b"
  wait_for_out_bytes $((base + 1))
  driver_after=- run wait-less-than-job 3 "$ctl" --wait 1 get power-on
  expect_err wait-less-than-job 'in use by another program'
  run wait-for-job 0 "$ctl" --wait 20 get power-on
  expect_out wait-for-job '^power-on: '
  wait_for_cups_idle
  expect_cups_job b "$job-b" printing-while-runs-wait

  # (c) A run killed outright leaves the driver away; CUPS prints all the same (its backend needs no
  # usblp), and the next run of ours gives usblp back. CUPS prints after that too.
  kill_mid_read killed "$ctl" get power-on
  make_job "$job-c" 300 after-a-killed-run
  print_job c "$job-c"
  wait_for_cups_idle
  expect_cups_job c "$job-c" after-a-killed-run
  run after-killed 0 "$ctl" get power-on
  make_job "$job-d" 300 after-the-repair
  print_job d "$job-d"
  wait_for_cups_idle
  wait_for_driver usblp 5 || problem "after the last job the printer has driver $(driver), not usblp"
  expect_cups_job d "$job-d" after-the-repair
  stop_cups
}
