# A printer that never answers. A read ends by its time-out; a run interrupted while it waits gives the
# printer back to usblp and ends as the signal says, at once.
device_options=(--silent)

scenario() {
  # The read's own time: what the run takes beyond one that starts, finds and asks the printer but
  # reads nothing (a guest takes over a second to start a program).
  run list 0 "$ctl" list
  run get-silent 3 "$ctl" get power-on
  expect_err get-silent 'did not answer in time'
  expect_ms_beyond_at_most get-silent list 4500
  local row
  for row in INT:130 TERM:143 HUP:129; do
    interrupt "sig${row%:*}" "${row%:*}" "${row#*:}" "$ctl" get power-on
    expect_ms_at_most "sig${row%:*}" 1000
  done
  interrupt window-term TERM 143 env QT_QPA_PLATFORM=offscreen "$app"
  expect_ms_at_most window-term 1000
}
