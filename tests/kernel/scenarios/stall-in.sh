# A printer whose bulk in pipe is halted. usblp shows the halt as an I/O error and never clears it: the
# exchange fails as a link failure that says what to do, the next one says it again, and usblp stays.
device_options=(--stall-in)

scenario() {
  run get-stall-in 3 "$ctl" get power-on
  expect_err get-stall-in 'halted or failing USB pipe.*switch the printer off and on'
  run set-stall-in 3 "$ctl" set network 1
  expect_setting network 0 # the write went through; only its read-back failed
  run again-stall-in 3 "$ctl" status
  expect_err again-stall-in 'halted or failing USB pipe'
}
