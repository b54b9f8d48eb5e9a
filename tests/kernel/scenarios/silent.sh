# A printer that never answers, and one that takes no more bytes. usblp has no time-outs: a read ends
# by its bound, counted in passes, and a write the printer never takes ends by its own bound, with the
# node closed. A signal ends a run at once, as it ends any program. usblp asks the printer once and
# waits, so a read's passes are the program's own polls, not seen at the printer: the read's time has a
# floor (forty passes of 100 ms), and wall-clock ceilings are generous backstops, so a loaded machine
# cannot fail them. The times are in the report.
device_options=(--silent)

scenario() {
  # The read's own time: what the run takes beyond one that starts, finds and asks the printer but
  # reads nothing (a guest takes over a second to start a program).
  run list 0 "$ctl" list
  run get-silent 3 "$ctl" get power-on
  expect_err get-silent 'did not answer in time'
  expect_ms_beyond_at_least get-silent list 3800
  expect_ms_beyond_at_most get-silent list 20000
  local row
  for row in INT:130 TERM:143 HUP:129 QUIT:131; do
    interrupt "sig${row%:*}" "${row%:*}" "${row#*:}" "$ctl" get power-on
    expect_passes_after_signal_at_most "sig${row%:*}" 1
    expect_ms_at_most "sig${row%:*}" 5000
  done
  interrupt window-term TERM 143 env QT_QPA_PLATFORM=offscreen "$app"
  expect_passes_after_signal_at_most window-term 1
  expect_ms_at_most window-term 5000

  # The printer takes nothing: the first write waits out its bound, the node is closed, and the run
  # says which write failed.
  printer_stops_taking
  run write-never-taken 3 "$ctl" get power-on
  printer_takes_again
  expect_err write-never-taken 'did not answer in time.*LIBUSB_ERROR_TIMEOUT'
  expect_ms_beyond_at_most write-never-taken list 15000
  run list-after 0 "$ctl" list

  # A print job the printer stops taking waits in usblp, and goes on whole once the printer takes bytes
  # again (found by the soak: the printer once kept what it held for good).
  local job=$TMPDIR/held-job.txt base i
  for i in $(seq 1 10); do printf 'held job line %03d\n' "$i"; done >"$job"
  base=$(out_bytes)
  printer_stops_taking
  start held-job bash -c 'cat "$1" >"$2"' held-job "$job" "$(lp_node)"
  sleep 2
  printer_takes_again
  finish held-job 0
  expect_job_at_device held-job "$job" "$base"
}
