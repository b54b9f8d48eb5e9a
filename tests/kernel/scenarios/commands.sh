# Every lm360rctl command, then the window application launched and quit, against a present printer.
# The printer accepts but does not store information-print writes.
initial_state=$'[printer]\nserial = KRN0000001\nrefuse = info-print'

scenario() {
  local file=$TMPDIR/office
  run list 0 "$ctl" list
  expect_out list 'KRN0000001'
  run get 0 "$ctl" get
  expect_out get '^auto-power-off: 60 \(60 min\)$'
  expect_out get '^network: 3 \(Mode 3\)$'
  run get-json 0 "$ctl" get network --json
  expect_out get-json '"network"'
  run set 0 "$ctl" set auto-power-off 30
  expect_setting auto-power-off 3
  run set-refused 4 "$ctl" set info-print 2
  expect_setting info-print 3
  run status 0 "$ctl" status
  expect_out status '^80 20( 00)+$'
  run save-commands 0 "$ctl" save-commands power --power-on on --auto-power-off 0 -o "$file"
  run inspect 0 "$ctl" inspect "$file.bin"
  expect_out inspect 'power-on'
  run send 0 "$ctl" send "$file.bin"
  expect_setting power-on 1
  expect_setting auto-power-off 0
  run reset 0 "$ctl" reset --yes
  expect_setting power-on 0
  expect_setting auto-power-off 6

  # The window reads all five settings while it starts; a desktop session ends it with SIGTERM.
  local before
  before=$(exchanges)
  start window env QT_QPA_PLATFORM=offscreen "$app"
  wait_for_out_bytes $(($(out_bytes) + 1))
  wait_for_quiet_printer 2
  [ $(($(exchanges) - before)) -eq 5 ] || problem "the window began $(($(exchanges) - before)) exchanges, not 5"
  signal window TERM
  finish window 143

  # How long an exchange takes, for the report: against a minimal C client through the same node.
  measure_exchange_speed
}
