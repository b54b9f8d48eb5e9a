# The printer as its real users meet it, with the real udev rules: the user at the seat (access from our
# rule, as logind grants it), a member of the lp group, the superuser through su keeping the seat user's
# runtime folder (with traps planted there), and runs killed outright by one user and repaired by
# another. A printer of another make sits beside the LM-360R.
second_printer_state=$'[printer]\nserial = OTH0000001\nmanufacturer = Othermake\nproduct = P-100'
guest_seconds=400
step_seconds=60 # a backstop: the seat user's steps wait for udev, which a loaded guest makes slow
# usblp's node comes back with every driver it gets back, and the seat's ACL on it a moment later, when
# udev has handled the node: a guest under load takes seconds for that, a desktop milliseconds. The seat
# user's runs wait for it like for a printer in use; here they may wait longer than the default.
wait_more=(--wait 20)

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
  local seat_ledger=$seat_runtime/lm360r-detached file=$seat_runtime/home/office interface node
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

  # The seat user: every command and the window's launch reads.
  run seat-list 0 "${as_seat[@]}" "$ctl" list
  expect_out seat-list 'KRN0000001.*\[target\]'
  run seat-get 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" get auto-power-off
  expect_out seat-get '^auto-power-off: 60 \(60 min\)$'
  run seat-set 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" set auto-power-off 30
  expect_setting auto-power-off 3
  run seat-status 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" status
  run seat-save 0 "${as_seat[@]}" "$ctl" save-commands power --power-on on -o "$file"
  run seat-inspect 0 "${as_seat[@]}" "$ctl" inspect "$file.bin"
  run seat-send 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" send "$file.bin"
  expect_setting power-on 1
  run seat-reset 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" reset --yes
  expect_setting power-on 0
  # The window reads all five settings as it starts, each in an exchange of its own.
  local before
  wait_for_seat_acl "$node"
  before=$(exchanges)
  start seat-window "${as_seat[@]}" QT_QPA_PLATFORM=offscreen "$app"
  wait_for_exchanges $((before + 5))
  wait_for_driver usblp 10
  signal seat-window TERM
  finish seat-window 143
  [ $(($(exchanges) - before)) -eq 5 ] || problem "the window began $(($(exchanges) - before)) exchanges, not 5"

  # Another user's print job in progress is never cut by the seat user's runs.
  job_while seat-set-during-job "${as_seat[@]}" "$ctl" "${wait_more[@]}" set network 1
  expect_setting network 0

  # Without access to usblp's node (a rule of an earlier version) nobody can tell whether a job is in
  # progress: the driver stays and the run says why and what to do.
  wait_for_seat_acl "$node"
  setfacl -x "u:$seat_uid" "$node"
  run seat-no-node-access 3 "${as_seat[@]}" "$ctl" --wait 0.5 get power-on
  expect_err seat-no-node-access 'may not open the printer.*udev rule.*lp group'
  setfacl -m "u:$seat_uid:rw" "$node"

  # A member of lp, at no seat: no ACL, the group's access.
  # usblp's node gets its group from udev a moment after it comes back, as the seat's ACL does.
  install -m 644 "$file.bin" "$TMPDIR/office.bin"
  run member-list 0 "${as_member[@]}" "$ctl" list
  run member-get 0 "${as_member[@]}" "$ctl" "${wait_more[@]}" get power-on
  run member-set 0 "${as_member[@]}" "$ctl" "${wait_more[@]}" set auto-power-off 10
  expect_setting auto-power-off 1
  run member-status 0 "${as_member[@]}" "$ctl" "${wait_more[@]}" status
  run member-send 0 "${as_member[@]}" "$ctl" "${wait_more[@]}" send "$TMPDIR/office.bin"
  run member-reset 0 "${as_member[@]}" "$ctl" "${wait_more[@]}" reset --yes

  # The superuser through su keeps the seat user's XDG_RUNTIME_DIR, a folder of another user's. There the
  # seat user planted a link to a file of the superuser's where an earlier version wrote its note first,
  # and a FIFO where the note itself would be. Nothing of it is used, followed or waited on.
  local victim=/run/victim plug
  plug=$(basename "$interface" | sed -E 's/:[0-9]+\.([0-9]+)$/:\1/')
  echo "the superuser's file" >"$victim"
  "${as_seat[@]}" mkdir -p -m 700 "$seat_ledger"
  "${as_seat[@]}" ln -s "$victim" "$seat_ledger/$plug.new"
  "${as_seat[@]}" mkfifo "$seat_ledger/$plug"
  run su-root-traps 0 "${as_root_via_su[@]}" "$ctl" get power-on
  expect_out su-root-traps '^power-on: '
  [ "$(cat "$victim")" = "the superuser's file" ] || problem "the superuser's file was written through a link"
  [ -p "$seat_ledger/$plug" ] || problem "the planted FIFO was replaced"
  # Without a ledger folder there, the superuser's run makes none: the seat user's runs still keep notes.
  rm -rf "$seat_ledger"
  run su-root-no-folder 0 "${as_root_via_su[@]}" "$ctl" get power-on
  [ -z "$(find "$seat_runtime" -user 0)" ] || problem "the superuser's run left its files with the seat user's: $(find "$seat_runtime" -user 0)"

  # A killed run of one user is repaired by another's run, both ways; the seat user still keeps notes.
  kill_mid_read killed-root "$ctl" get power-on
  [ -f "/run/lm360r-detached/$plug" ] || problem "the superuser's killed run left no note in /run/lm360r-detached"
  run seat-after-killed-root 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" get power-on
  kill_mid_read killed-seat "${as_seat[@]}" "$ctl" "${wait_more[@]}" get power-on
  [ -n "$(find "$seat_ledger" -type f -user "$seat_uid" -name "$plug")" ] || problem "the seat user's run kept no note"
  run root-after-killed-seat 0 "$ctl" get power-on
  [ -z "$(find "$seat_ledger" -type f -name "$plug")" ] || problem "the repaired note was left behind"

  # The driver given back goes only to the plug it was taken from: an administrator's unbind stays.
  echo "$(basename "$interface")" >/sys/bus/usb/drivers/usblp/unbind
  driver_after=none run seat-after-unbind 0 "${as_seat[@]}" "$ctl" "${wait_more[@]}" get power-on
  echo "$(basename "$interface")" >/sys/bus/usb/drivers/usblp/bind
}
