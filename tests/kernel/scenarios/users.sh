# The printer as its real users meet it, with the real udev rules: the user at the seat (access from our
# rule, as logind grants it), a member of the lp group, the superuser through su keeping the seat user's
# runtime folder, and runs killed outright by each. A printer of another make sits beside the LM-360R.
# usblp's node is never made anew by our runs, so the seat user's access stays as udev gave it, and
# nobody waits for udev between exchanges.
second_printer_state=$'[printer]\nserial = OTH0000001\nmanufacturer = Othermake\nproduct = P-100'
guest_seconds=300

# A job written to usblp's node by another user (the superuser) in small pieces, while RUN starts as the
# seat user: the run waits for the job, and every job byte reaches the printer first.
job_while() { # NAME COMMAND...
  local name=$1 job=$TMPDIR/$1.txt base i
  shift
  for i in $(seq 1 25); do printf '%s line %03d\n' "$name" "$i"; done >"$job"
  base=$(out_bytes)
  # One process writing a line every 40 ms: a shell's sleep would start a program for each.
  start "$name-job" perl -e 'open(my $job, "<", $ARGV[0]) and open(my $node, ">", $ARGV[1]) or exit 1;
    $node->autoflush(1);
    while (my $line = <$job>) { print $node $line or exit 1; select(undef, undef, undef, 0.04) }' \
    "$job" "$(lp_node)"
  wait_for_out_bytes $((base + 13))
  run "$name" 0 "$@"
  finish "$name-job" 0
  expect_job_at_device "$name-job" "$job" "$base"
}

scenario() {
  local file=$seat_runtime/home/office interface node
  make_users
  start_udev

  # What the seat has: both nodes of this printer, nothing of the other one.
  node=$(lp_node)
  interface=$(printer_interface)
  for n in "$(usb_node_of "$interface/..")" "$node"; do
    [ "$(acl_of "$seat_uid" "$n")" = rw- ] || problem "the seat user has no ACL on $n: $(getfacl -n -c "$n" | tr '\n' ' ')"
  done
  for n in $(other_printer_nodes); do
    [ -z "$(acl_of "$seat_uid" "$n")" ] || problem "the seat user was given $n of another printer"
  done
  note "ACLs: $(getfacl -n -c "$node" | tr '\n' ' ')"

  # The seat user: every command and the window's launch reads, with the default wait.
  run seat-list 0 "${as_seat[@]}" "$ctl" list
  expect_out seat-list 'KRN0000001.*\[target\]'
  run seat-get 0 "${as_seat[@]}" "$ctl" get auto-power-off
  expect_out seat-get '^auto-power-off: 60 \(60 min\)$'
  run seat-set 0 "${as_seat[@]}" "$ctl" set auto-power-off 30
  expect_setting auto-power-off 3
  run seat-status 0 "${as_seat[@]}" "$ctl" status
  run seat-save 0 "${as_seat[@]}" "$ctl" save-commands power --power-on on -o "$file"
  run seat-inspect 0 "${as_seat[@]}" "$ctl" inspect "$file.bin"
  run seat-send 0 "${as_seat[@]}" "$ctl" send "$file.bin"
  expect_setting power-on 1
  run seat-reset 0 "${as_seat[@]}" "$ctl" reset --yes
  expect_setting power-on 0
  # The window reads all five settings as it starts, each in an exchange of its own.
  local before
  before=$(exchanges)
  start seat-window "${as_seat[@]}" QT_QPA_PLATFORM=offscreen "$app"
  wait_for_exchanges $((before + 5))
  wait_for_quiet_printer 1
  signal seat-window TERM
  finish seat-window 143
  [ $(($(exchanges) - before)) -eq 5 ] || problem "the window began $(($(exchanges) - before)) exchanges, not 5"

  # Another user's print job in progress is never cut by the seat user's runs.
  job_while seat-set-during-job "${as_seat[@]}" "$ctl" set network 1
  expect_setting network 0

  # Without access to usblp's node (a rule of an earlier version) the run says why and what to do.
  setfacl -x "u:$seat_uid" "$node"
  run seat-no-node-access 3 "${as_seat[@]}" "$ctl" --wait 0.5 get power-on
  expect_err seat-no-node-access 'may not open the printer.*udev rule.*lp group'
  setfacl -m "u:$seat_uid:rw" "$node"

  # A member of lp, at no seat: no ACL, the group's access.
  install -m 644 "$file.bin" "$TMPDIR/office.bin"
  run member-list 0 "${as_member[@]}" "$ctl" list
  run member-get 0 "${as_member[@]}" "$ctl" get power-on
  run member-set 0 "${as_member[@]}" "$ctl" set auto-power-off 10
  expect_setting auto-power-off 1
  run member-status 0 "${as_member[@]}" "$ctl" status
  run member-send 0 "${as_member[@]}" "$ctl" send "$TMPDIR/office.bin"
  run member-reset 0 "${as_member[@]}" "$ctl" reset --yes

  # The superuser through su keeps the seat user's XDG_RUNTIME_DIR: nothing is written there.
  run su-root 0 "${as_root_via_su[@]}" "$ctl" get power-on
  expect_out su-root '^power-on: '
  [ -z "$(find "$seat_runtime" -user 0)" ] || problem "the superuser's run left files with the seat user's: $(find "$seat_runtime" -user 0)"

  # Runs killed outright, by each user: nothing is left to repair, and the other user's next run works.
  kill_mid_read killed-root "$ctl" get power-on
  run seat-after-killed-root 0 "${as_seat[@]}" "$ctl" get power-on
  kill_mid_read killed-seat "${as_seat[@]}" "$ctl" get power-on
  run root-after-killed-seat 0 "$ctl" get power-on

  # After an administrator's unbind the seat user's runs claim the free interface and leave it free.
  echo "$(basename "$interface")" >/sys/bus/usb/drivers/usblp/unbind
  driver_after=none run seat-after-unbind 0 "${as_seat[@]}" "$ctl" get power-on
  echo "$(basename "$interface")" >/sys/bus/usb/drivers/usblp/bind
  wait_for_driver usblp 10 || problem "usblp did not bind again"
}
