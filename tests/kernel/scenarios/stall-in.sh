# A printer whose bulk in pipe is halted: the exchange fails as a link failure, and usblp is
# bound again afterwards.
device_options=(--stall-in)

scenario() {
  run get-stall-in 3 "$ctl" get power-on
  expect_err get-stall-in 'link result [2-6]'
  run set-stall-in 3 "$ctl" set network 1
  expect_setting network 0 # the write went through; only its read-back failed
}
