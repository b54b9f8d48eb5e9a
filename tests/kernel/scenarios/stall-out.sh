# A printer whose bulk out pipe is halted: the exchange fails as a link failure, and usblp is
# bound again afterwards.
device_options=(--stall-out)

scenario() {
  run get-stall-out 3 "$ctl" get power-on
  expect_err get-stall-out 'link result [2-6]'
  run set-stall-out 3 "$ctl" set network 1
  grep -q '^network' "$out/printer.state" && problem "a write reached a printer that stalls every write"
}
