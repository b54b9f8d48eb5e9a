# Programs competing for the printer: runs started together (usblp lets one open its node at a time), a
# program that takes the interface through libusb (detaching usblp, as CUPS does), and a print job
# written to usblp's node.
scenario() {
  local i
  for i in 1 2 3 4; do start "get$i" "$ctl" get; done
  for i in 1 2 3 4; do
    finish "get$i" 0
    expect_out "get$i" '^command-mode: '
  done

  # Held for less than a run waits: the run waits and succeeds. The holder's libusb detaches usblp and
  # attaches it again: its probes, not ours.
  start holder "$holder" 2
  wait_for_output holder '^holding' || problem "the holder never held the printer"
  churn=expected run set-while-held 0 "$ctl" set auto-power-off 10
  churn=expected finish holder 0
  expect_setting auto-power-off 1

  # Held for longer than the run waits: it gives up and says why, and leaves the holder alone.
  wait_for_driver usblp 10
  start long-holder "$holder" 8 # well past the run's wait, even in a slow guest
  wait_for_output long-holder '^holding' || problem "the holder never held the printer"
  driver_after=usbfs run set-while-long-held 3 "$ctl" --wait 1 set auto-power-off 20
  expect_err set-while-long-held 'in use by another program'
  churn=expected finish long-holder 0
  expect_setting auto-power-off 1

  # A job written in small pieces to usblp's node: the run waits for it, and every job byte arrives.
  local job=$TMPDIR/job.txt base
  wait_for_driver usblp 10
  base=$(out_bytes)
  for i in $(seq 1 25); do printf 'job line %03d\n' "$i"; done >"$job"
  start job bash -c 'exec 3>"$2"; while read -r line; do echo "$line" >&3 || exit 1; sleep 0.04; done <"$1"' \
    job "$job" "$(lp_node)"
  wait_for_out_bytes $((base + 13))
  run get-during-job 0 "$ctl" --wait 15 get power-on
  finish job 0
  expect_job_at_device job "$job" "$base"
}
