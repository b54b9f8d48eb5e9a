# A printer whose replies come a few bytes per packet: every exchange still gets its whole reply.
device_options=(--trickle=3)

scenario() {
  run get-trickle 0 "$ctl" get
  expect_out get-trickle '^auto-power-off: 60 \(60 min\)$'
  run set-trickle 0 "$ctl" set network 1
  expect_setting network 0
  run status-trickle 0 "$ctl" status
  expect_out status-trickle '^80 20( 00)+$'
}
