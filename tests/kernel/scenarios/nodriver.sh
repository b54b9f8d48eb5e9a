# Where no kernel driver has the printer (an administrator unbound usblp, or its module is not loaded)
# the programs claim the free interface through libusb, and leave it free: nothing is bound afterwards.
scenario() {
  local interface
  interface=$(basename "$(printer_interface)")
  echo "$interface" >/sys/bus/usb/drivers/usblp/unbind
  driver_after=none run unbound-get 0 "$ctl" get
  expect_out unbound-get '^command-mode: '
  driver_after=none run unbound-set 0 "$ctl" set auto-power-off 20
  expect_setting auto-power-off 2
  driver_after=none run unbound-status 0 "$ctl" status
  driver_after=none kill_mid_read unbound-killed "$ctl" get power-on
  driver_after=none run after-unbound-killed 0 "$ctl" get power-on
  echo "$interface" >/sys/bus/usb/drivers/usblp/bind
  wait_for_driver usblp 10 || problem "usblp did not bind again"

  rmmod usblp || problem "usblp could not be unloaded"
  driver_after=none run no-module-get 0 "$ctl" get network
  driver_after=none run no-module-reset 0 "$ctl" reset --yes
  expect_setting auto-power-off 6
  # Another program's claim is waited for, then named as a printer in use.
  start holder "$holder" 8 # well past the run's wait, even in a slow guest
  wait_for_output holder '^holding' || problem "the holder never held the printer"
  driver_after=usbfs run no-module-held 3 "$ctl" --wait 0.5 get power-on
  expect_err no-module-held 'in use by another program'
  driver_after=none finish holder 0
  insmod /run/modules/usblp.ko || problem "usblp could not be loaded again"
  wait_for_driver usblp 10 || problem "usblp did not bind after its module came back"
  run with-module-again 0 "$ctl" get power-on
}
