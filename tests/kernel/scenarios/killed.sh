# A run killed outright in the middle of an exchange cannot clean up; the next run gives back the driver
# the killed run took away, and only that one: a driver someone else unbound stays unbound.
device_options=(--silent=1) # the killed run's reply never comes; later ones do

scenario() {
  driver_after=- interrupt killed KILL 137 "$ctl" get power-on
  run next 0 "$ctl" get power-on
  expect_out next '^power-on: '

  local interface
  interface=$(basename "$(printer_interface)")
  echo "$interface" >/sys/bus/usb/drivers/usblp/unbind
  driver_after=none run unbound-by-admin 0 "$ctl" get power-on
  echo "$interface" >/sys/bus/usb/drivers/usblp/bind
}
