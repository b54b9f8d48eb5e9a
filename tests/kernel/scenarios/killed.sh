# Runs ended outright mid-exchange, the command line and the window: the kernel closes what they had
# open and the printer's driver stays bound throughout; the next runs work.
device_options=(--silent=2) # the two killed runs' replies never come; later ones do

scenario() {
  interrupt killed KILL 137 "$ctl" get power-on
  interrupt window-killed KILL 137 env QT_QPA_PLATFORM=offscreen "$app"
  run next 0 "$ctl" get power-on
  expect_out next '^power-on: '
  run status-after 0 "$ctl" status
}
