# A printer unplugged in the middle of an exchange (and plugged in again): the run fails as a link
# failure without hanging, and the replugged printer has usblp and works.
device_options=(--unplug-after=8) # during the first exchange's request

scenario() {
  churn=expected driver_after=- run set-unplugged 3 "$ctl" set auto-power-off 10
  expect_err set-unplugged 'the printer went away'
  # A run started the moment the printer is back, before or while usblp binds, leaves usblp to it
  # (found by the soak: such a run once claimed the fresh interface and usblp never came).
  local deadline=$(($(now_ms) + 10000))
  until [ "$(driver)" != absent ] || [ "$(now_ms)" -gt "$deadline" ]; do sleep 0.02; done
  churn=expected run get-at-replug 0 "$ctl" get power-on
  wait_for_driver usblp 10 || problem "the replugged printer has driver $(driver), not usblp"
  run get-replugged 0 "$ctl" get auto-power-off
  expect_out get-replugged '^auto-power-off: '
}
