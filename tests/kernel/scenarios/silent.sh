# A printer that never answers. A read ends by its time-out; a run interrupted while it waits gives the
# printer back to usblp and ends as the signal says, at once.
device_options=(--silent)

scenario() {
  run get-silent 3 "$ctl" get power-on
  expect_err get-silent 'link result 3'
  expect_ms_at_most get-silent 4500
  local row
  for row in INT:130 TERM:143 HUP:129; do
    interrupt "sig${row%:*}" "${row%:*}" "${row#*:}" "$ctl" get power-on
    expect_ms_at_most "sig${row%:*}" 1000
  done
  interrupt window-term TERM 143 env QT_QPA_PLATFORM=offscreen "$app"
  expect_ms_at_most window-term 1000
}
