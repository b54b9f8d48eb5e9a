# A printer whose replies come a few bytes per packet, each reply after a zero-length packet (which
# usblp reads as nothing): every exchange still gets its whole reply.
device_options=(--trickle=3 --zero-length-first)

scenario() {
  run get-trickle 0 "$ctl" get
  expect_out get-trickle '^auto-power-off: 60 \(60 min\)$'
  run set-trickle 0 "$ctl" set network 1
  expect_setting network 0
  run status-trickle 0 "$ctl" status
  expect_out status-trickle '^80 20( 00)+$'
}
