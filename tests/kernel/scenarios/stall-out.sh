# A printer whose bulk out pipe is halted. usblp shows the halt as an I/O error and never clears it: the
# exchange fails as a link failure that says what to do, nothing reaches the printer, and usblp stays.
device_options=(--stall-out)

scenario() {
  run get-stall-out 3 "$ctl" get power-on
  expect_err get-stall-out 'halted or failing USB pipe.*switch the printer off and on'
  run set-stall-out 3 "$ctl" set network 1
  grep -q '^network' "$out/printer.state" && problem "a write reached a printer that stalls every write"
  run again-stall-out 3 "$ctl" status
  expect_err again-stall-out 'halted or failing USB pipe'
}
