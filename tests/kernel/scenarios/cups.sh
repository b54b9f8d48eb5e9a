# CUPS printing to the same printer through its own libusb `usb` backend, beside our programs. The
# backend detaches usblp when it starts a job, also while one of our exchanges has usblp's node open: the
# exchange is begun again once the job is done, within the run's wait. A run while a job prints waits
# for it, or says the printer is in use past --wait; a killed run leaves nothing for CUPS to trip over.
# Every job's bytes at the printer are compared with the job, and usblp is bound once both are done.
# CUPS's backend keeps the printer up to 8 s after a job, waiting for its back channel, which this
# printer never uses.
guest_seconds=420

scenario() {
  local job=$TMPDIR/job offset base
  start_cups || return

  # (a) Jobs sent at several moments into a run that reads all five settings (a get writes about 60
  # bytes): the run is cut and begins its exchange again after the job, and reads every setting right.
  for offset in 2 30 55; do
    make_job "$job-a$offset" 200 "sent-$offset-bytes-into-a-get"
    base=$(out_bytes)
    start "get-cut-at-$offset" "$ctl" --wait 30 get
    wait_for_out_bytes $((base + offset))
    print_job "a$offset" "$job-a$offset"
    churn=expected driver_after=- finish "get-cut-at-$offset" 0
    expect_out "get-cut-at-$offset" '^auto-power-off: 60 \(60 min\)$'
    expect_out "get-cut-at-$offset" '^command-mode: 1 '
    wait_for_cups_idle
    wait_for_driver usblp 10 || problem "after job a$offset and the run the printer has driver $(driver), not usblp"
    expect_cups_job "a$offset" "$job-a$offset" "sent-$offset-bytes-into-a-get"
  done

  # (b) A run while a job is being printed waits for the backend to let go, or says the printer is in
  # use when told to wait less; the job prints whole either way.
  make_job "$job-b" 300 printing-while-runs-wait
  base=$(out_bytes)
  print_job b "$job-b"
  wait_for_out_bytes $((base + 1))
  churn=expected driver_after=- run wait-less-than-job 3 "$ctl" --wait 1 get power-on
  expect_err wait-less-than-job 'in use by another program'
  churn=expected driver_after=- run wait-for-job 0 "$ctl" --wait 20 get power-on
  expect_out wait-for-job '^power-on: '
  wait_for_cups_idle
  expect_cups_job b "$job-b" printing-while-runs-wait

  # (c) A run killed outright leaves usblp as it was; CUPS prints after it, and usblp is bound after.
  wait_for_driver usblp 10
  kill_mid_read killed "$ctl" get power-on
  make_job "$job-c" 300 after-a-killed-run
  print_job c "$job-c"
  wait_for_cups_idle
  wait_for_driver usblp 10 || problem "after the last job the printer has driver $(driver), not usblp"
  expect_cups_job c "$job-c" after-a-killed-run

  # (d) A job whose backend fails because the printer was unplugged under it (found by a long soak) is
  # held by the queue's retry-job policy and tried again: a run of ours during the hold works beside it,
  # and the job then prints whole, exactly once, with usblp bound after.
  lpadmin -p "$cups_queue" -o printer-error-policy=retry-job 2>>"$out/lpadmin.err"
  make_job "$job-d" 300 retried-after-an-unplug
  printer_stops_taking
  print_job d "$job-d"
  cups_job_says job-printing 20 || problem "job d did not start: $(cups_jobs_said)"
  sleep 1
  unplug_printer
  printer_takes_again
  cups_job_says resources-are-not-ready 20 ||
    problem "job d is not held for a retry: $(cups_jobs_said)"
  wait_for_driver usblp 20 || problem "the replugged printer has driver $(driver), not usblp"
  churn=expected driver_after=- run get-while-job-held 0 "$ctl" --wait 30 get power-on
  expect_out get-while-job-held '^power-on: '
  wait_for_cups_idle
  wait_for_driver usblp 10 || problem "after the retried job the printer has driver $(driver), not usblp"
  local copies
  copies=$(job_copies "$job-d")
  [ "$copies" = 1 ] || problem "job d is at the printer whole $copies times"
  note "job d: at the printer whole $copies times"
  stop_cups
}
