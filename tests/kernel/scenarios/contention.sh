# Programs competing for the printer: runs started together, a program that holds the interface, and a
# print job written to usblp's device node.
scenario() {
  local i
  for i in 1 2 3 4; do start "get$i" "$ctl" get; done
  for i in 1 2 3 4; do
    finish "get$i" 0
    expect_out "get$i" '^command-mode: '
  done

  # Held for less than a run waits: the run waits and succeeds.
  start holder "$holder" 2
  wait_for_output holder '^holding' || problem "the holder never held the printer"
  run set-while-held 0 "$ctl" set auto-power-off 10
  finish holder 0
  expect_setting auto-power-off 1

  # Held for longer than the run waits: it gives up and says why, and leaves the holder alone.
  start long-holder "$holder" 8 # well past the run's wait, even in a slow guest
  wait_for_output long-holder '^holding' || problem "the holder never held the printer"
  driver_after=usbfs run set-while-long-held 3 "$ctl" --wait 1 set auto-power-off 20
  expect_err set-while-long-held 'in use by another program'
  finish long-holder 0
  expect_setting auto-power-off 1

  # A job written in small pieces to usblp's node: the run waits for it, and every job byte arrives.
  local job=$TMPDIR/job.txt base
  base=$(out_bytes)
  for i in $(seq 1 25); do printf 'job line %03d\n' "$i"; done >"$job"
  start job bash -c 'exec 3>"$2"; while read -r line; do echo "$line" >&3 || exit 1; sleep 0.04; done <"$1"' \
    job "$job" "$(lp_node)"
  wait_for_out_bytes $((base + 13))
  run get-during-job 0 "$ctl" --wait 15 get power-on
  finish job 0
  expect_job_at_device job "$job" "$base"
}
