# A printer that never answers. A read ends by its bound, counted in passes; a run interrupted while it
# waits gives the printer back to usblp and ends as the signal says, at its next pass. The bounds are
# checked by what the program did (its read passes at the printer); wall-clock limits are only a
# backstop, so a loaded machine cannot fail them. The times are in the report.
device_options=(--silent)

scenario() {
  # The read's own time: what the run takes beyond one that starts, finds and asks the printer but
  # reads nothing (a guest takes over a second to start a program).
  run list 0 "$ctl" list
  local before passes
  before=$(in_passes)
  run get-silent 3 "$ctl" get power-on
  expect_err get-silent 'did not answer in time'
  passes=$(($(in_passes) - before))
  note "  get-silent read for $passes passes"
  if [ "$passes" -lt 38 ] || [ "$passes" -gt 42 ]; then
    problem "get-silent read for $passes passes, not about 40"
  fi
  expect_ms_beyond_at_most get-silent list 20000
  local row
  for row in INT:130 TERM:143 HUP:129 QUIT:131; do
    interrupt "sig${row%:*}" "${row%:*}" "${row#*:}" "$ctl" get power-on
    expect_passes_after_signal_at_most "sig${row%:*}" 2
    expect_ms_at_most "sig${row%:*}" 5000
  done
  interrupt window-term TERM 143 env QT_QPA_PLATFORM=offscreen "$app"
  expect_passes_after_signal_at_most window-term 2
  expect_ms_at_most window-term 5000
}
