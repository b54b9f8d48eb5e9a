# A seeded random soak (sourced by guest.sh): SOAK_STEPS random steps, up to three of our runs at once,
# by every kind of user, beside print jobs to usblp's node, CUPS jobs, unplugs and the printer's faults,
# with invariants checked as it goes. The seed fixes every choice (which step, which user, which value,
# when to signal); the timing is the machine's. Every failure names the step, the seed and the replay.
# Writes $out/soak-report.txt and, per step, one line to $out/soak-log.txt.

soak_wait=12 # every run's in-use wait (--wait): CUPS's backend keeps the printer 8 s after a job
soak_at_once=3
declare -A soak_kind soak_pid soak_start soak_bound soak_signal soak_writes soak_user soak_state_before
declare -A soak_tally soak_pass soak_fail soak_overlap soak_job_status
soak_running=()
soak_jobs=()      # node and CUPS jobs sent: "NAME FILE LABEL"
soak_step=0
soak_signals=0
soak_unplugs=0
soak_jobs_compared=0
soak_bytes_compared=0
soak_cups_released=0
soak_halted=0 # a stall switched on: the printer keeps its halt until it is plugged in again
soak_last_unplug=0

# Waits while reaping, so that a run's end is seen when it happens, not when the soak looks next.
soak_pause() { # SECONDS (tenths)
  local until=$(($(now_ms) + 10#${1/./} * 100))
  while [ "$(now_ms)" -lt "$until" ]; do
    soak_reap
    sleep 0.1
  done
}
soak_until() { # SECONDS COMMAND...: until COMMAND succeeds, reaping meanwhile; false when it never did
  local until=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$until" ] || return 1
    soak_reap
    sleep 0.1
  done
}
job_ended() { ! kill -0 "$1" 2>/dev/null; }
printer_gone() { [ "$(driver)" = absent ]; }
driver_is_usblp() { [ "$(driver)" = usblp ]; }
cups_idle() { [ -z "$(lpstat -o "$cups_queue" 2>/dev/null)" ]; }

soak_replay() {
  echo "replay: tests/kernel/run-scenario tests/kernel/scenarios/soak.sh build --seed $soak_seed --steps $soak_steps"
}
# An invariant held or not; a failure names the step, the seed and how to replay it.
soak_check() { # INVARIANT OK(0/1) MESSAGE
  if [ "$2" = 0 ]; then
    soak_pass[$1]=$((${soak_pass[$1]:-0} + 1))
  else
    soak_fail[$1]=$((${soak_fail[$1]:-0} + 1))
    problem "soak step $soak_step, seed $soak_seed, invariant \"$1\": $3; $(soak_replay)"
  fi
}
soak_log() { echo "$soak_step $*" >>"$out/soak-log.txt"; }
# roll N: a random number below N, in $roll (a command substitution would not move the seeded sequence).
roll() { roll=$((RANDOM % $1)); }
pick() { roll $#; shift "$roll"; picked=$1; }

soak_settings=(power-on auto-power-off network info-print)
soak_value() { # SETTING: a value word it takes, in $picked
  case $1 in
    power-on) pick off on ;;
    auto-power-off) pick 0 10 20 30 40 50 60 ;;
    *) pick 1 2 3 ;;
  esac
}
state_byte() { sed -n "s/^$1 = //p" "$out/printer.state" | head -n 1; }
state_now() { grep -E '^(power-on|auto-power-off|network|info-print) = ' "$out/printer.state" | tr '\n' ' '; }
writers_running() { # NAME: another run that writes is under way, or was while NAME ran
  local other
  [ -n "${soak_overlap[$1]:-}" ] && return 0
  for other in "${soak_running[@]}"; do
    [ "$other" != "$1" ] && [ "${soak_writes[$other]}" = 1 ] && return 0
  done
  return 1
}
# A new run and those under way: which of them had a writer beside it.
note_overlaps() { # NAME WRITES
  local other
  for other in "${soak_running[@]}"; do
    [ "$2" = 1 ] && soak_overlap[$other]=1
    [ "${soak_writes[$other]}" = 1 ] && soak_overlap[$1]=1
  done
}

# One of our runs, in the background: who runs it and what.
soak_start_run() {
  local name=soak$soak_step who command=() exchanges writes=0
  pick root seat member
  who=$picked
  roll 10
  case $roll in
    0 | 1) command=(get --json) exchanges=5 ;;
    2)
      pick "${soak_settings[@]}"
      command=(get "$picked") exchanges=1
      ;;
    3 | 4)
      pick "${soak_settings[@]}"
      local setting=$picked
      soak_value "$setting"
      command=(set "$setting" "$picked" --json) exchanges=1 writes=1
      ;;
    5)
      pick "${soak_settings[@]}"
      local first=$picked
      soak_value "$first"
      command=(apply "$first=$picked" --json) exchanges=2 writes=1
      roll 2
      if [ "$roll" = 1 ]; then
        command=(apply "$first=$picked" --check --json) writes=0
      fi
      ;;
    6)
      pick "$soak_files"/*.bin
      command=(send "$picked") exchanges=1 writes=1
      ;;
    7) command=(reset --yes) exchanges=7 writes=1 ;;
    8) command=(status) exchanges=1 ;;
    9) command=(window) exchanges=5 ;;
  esac
  local as=()
  case $who in
    seat) as=("${as_seat[@]}") ;;
    member) as=("${as_member[@]}") ;;
  esac
  if [ "${command[0]}" = window ]; then
    start "$name" "${as[@]}" env QT_QPA_PLATFORM=offscreen "$app"
  else
    start "$name" "${as[@]}" "$ctl" --wait "$soak_wait" "${command[@]}"
  fi
  soak_kind[$name]="$who ${command[*]}"
  soak_user[$name]=$who
  soak_pid[$name]=${pids[$name]}
  soak_start[$name]=$(now_ms)
  soak_writes[$name]=$writes
  soak_state_before[$name]=$(state_now)
  note_overlaps "$name" "$writes"
  # Each exchange may wait for the printer, read for its bound and write for its own; then a margin for
  # starting a program in a busy guest.
  soak_bound[$name]=$(((exchanges * (soak_wait + 4 + 2 + 1)) * 1000 + 20000))
  soak_running+=("$name")
  soak_tally["run ${command[0]}"]=$((${soak_tally["run ${command[0]}"]:-0} + 1))
  soak_tally["as $who"]=$((${soak_tally["as $who"]:-0} + 1))
  soak_log "start $name: ${soak_kind[$name]}"
}

# Ends what has ended: its status, its bound, and what it said it left the printer holding.
soak_reap() {
  local name still=() status took
  for name in "${soak_running[@]}"; do
    if kill -0 "${soak_pid[$name]}" 2>/dev/null; then
      took=$(($(now_ms) - ${soak_start[$name]}))
      # A window runs until its session ends it; runs past their bound are a hang.
      if [[ ${soak_kind[$name]} == *window* ]] && [ "$took" -gt 8000 ] && [ -z "${soak_signal[$name]:-}" ]; then
        soak_signal[$name]=TERM
        kill -TERM "${soak_pid[$name]}"
      elif [ "$took" -gt "${soak_bound[$name]}" ]; then
        soak_check "ends within its bound" 1 "$name (${soak_kind[$name]}) still runs after $took ms, bound ${soak_bound[$name]} ms"
        kill -KILL "${soak_pid[$name]}"
      fi
      still+=("$name")
      continue
    fi
    wait "${soak_pid[$name]}"
    status=$?
    took=$(($(now_ms) - ${soak_start[$name]}))
    soak_log "end $name: status $status after $took ms"
    soak_check "ends within its bound" $(((took <= soak_bound[$name]) ? 0 : 1)) \
      "$name (${soak_kind[$name]}) took $took ms, bound ${soak_bound[$name]} ms"
    local expected="0 2 3"
    if [ -n "${soak_signal[$name]:-}" ]; then
      expected="$expected $((128 + $(kill -l "${soak_signal[$name]}")))"
    fi
    [[ ${soak_kind[$name]} == *window* ]] && [ -z "${soak_signal[$name]:-}" ] && expected="$expected 143"
    [[ " $expected " == *" $status "* ]]
    soak_check "a documented status or its signal" $? \
      "$name (${soak_kind[$name]}) ended with $status, expected one of $expected: $(tail -n 2 "$out/$name.err" | tr '\n' ' ')"
    if [ "$status" = 0 ] && ! writers_running "$name" && [ "$soak_halted" = 0 ]; then
      soak_check_outcome "$name"
    fi
  done
  soak_running=("${still[@]}")
}

# A set or apply that succeeded left the printer holding what it reported; --check changed nothing.
soak_check_outcome() { # NAME
  local name=$1 verdict
  case ${soak_kind[$name]} in
    *" set "*)
      verdict=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["answered"]["byte"])' "$out/$name.out" 2>/dev/null)
      local setting
      setting=$(awk '{print $3}' <<<"${soak_kind[$name]}")
      # The printer's store is written a moment after it answered.
      local tries=0
      until [ -n "$verdict" ] && [ "$(state_byte "$setting")" = "$verdict" ] || [ $((tries += 1)) -gt 20 ]; do
        sleep 0.1
      done
      [ -n "$verdict" ] && [ "$(state_byte "$setting")" = "$verdict" ]
      soak_check "a write holds what it reported" $? \
        "$name (${soak_kind[$name]}) reported byte $verdict, the printer holds $(state_byte "$setting")"
      ;;
    *"--check"*)
      [ "$(state_now)" = "${soak_state_before[$name]}" ]
      soak_check "a check changes nothing" $? "$name (${soak_kind[$name]}) changed ${soak_state_before[$name]}to $(state_now)"
      ;;
    *" apply "*)
      # What the printer answers now, by a read of its own, against what apply said it left. The read
      # may find the printer busy with a job; then there is nothing to compare.
      if ! "$ctl" --wait 30 get --json >"$out/$name.after" 2>/dev/null; then
        soak_log "no read to check $name against"
        return
      fi
      python3 - "$out/$name.out" "$out/$name.after" <<'EOF'
import json, sys
applied = {s["setting"]: s["after"] for s in json.load(open(sys.argv[1]))["settings"]}
now = {s["setting"]: s["value"] for s in json.load(open(sys.argv[2]))["settings"]}
sys.exit(0 if all(now.get(k) == v for k, v in applied.items()) else 1)
EOF
      soak_check "a write holds what it reported" $? "$name (${soak_kind[$name]}) reported $(tr -d ' \n' <"$out/$name.out"), the printer answers $(tr -d ' \n' <"$out/$name.after")"
      ;;
  esac
}

# A signal at a random moment of one of our runs.
soak_signal_run() {
  [ ${#soak_running[@]} -gt 0 ] || return
  pick "${soak_running[@]}"
  local name=$picked sig
  [ -z "${soak_signal[$name]:-}" ] || return
  pick INT TERM HUP QUIT KILL
  sig=$picked
  soak_signal[$name]=$sig
  kill -s "$sig" "${soak_pid[$name]}" 2>/dev/null
  soak_signals=$((soak_signals + 1))
  soak_tally["signal $sig"]=$((${soak_tally["signal $sig"]:-0} + 1))
  soak_log "signal $sig to $name"
}

# A print job written to usblp's node by the lp member, in pieces, as a spooler that writes to it does.
soak_node_job() {
  local name=nodejob$soak_step file lines i
  roll 60
  lines=$((roll + 5))
  file=$TMPDIR/$name.txt
  for i in $(seq 1 "$lines"); do printf '%s line %05d written to the node in pieces\n' "$name" "$i"; done >"$file"
  chmod 644 "$file"
  # The writer waits for the node (a run of ours may have it) as a spooler would.
  start "$name" "${as_member[@]}" perl -e 'my $node; for (1 .. 300) { last if open($node, ">", $ARGV[1]); select(undef, undef, undef, 0.1) }
    $node or exit 2; open(my $job, "<", $ARGV[0]) or exit 1; $node->autoflush(1);
    while (my $line = <$job>) { print $node $line or exit 1; select(undef, undef, undef, 0.02) }
    close($node) or exit 1' "$file" "$(lp_node)"
  soak_jobs+=("$name $file $name")
  soak_tally["node job"]=$((${soak_tally["node job"]:-0} + 1))
  soak_log "node job $name: $lines lines"
}

soak_cups_job() {
  local name=cupsjob$soak_step file lines
  roll 200
  lines=$((roll + 20))
  file=$TMPDIR/$name.txt
  make_job "$file" "$lines" "$name"
  lp -d "$cups_queue" -o raw "$file" >>"$out/soak-cups.txt" 2>&1 || problem "lp refused $name"
  soak_jobs+=("cups:$name $file $name")
  soak_tally["cups job"]=$((${soak_tally["cups job"]:-0} + 1))
  soak_log "cups job $name: $lines lines"
}

soak_unplug() {
  unplug_printer
  soak_unplugs=$((soak_unplugs + 1))
  soak_last_unplug=$soak_step
  soak_halted=0
  soak_log "unplug"
  soak_until 5 printer_gone || soak_log "the printer did not go away"
  soak_until 20 driver_is_usblp || soak_log "not back yet after an unplug (driver $(driver))"
}

# A fault of the printer's for a moment, with whatever runs meanwhile.
soak_fault() {
  pick silent full trickle stall
  local fault=$picked
  soak_tally["fault $fault"]=$((${soak_tally["fault $fault"]:-0} + 1))
  soak_log "fault $fault on"
  : >"$out/printer-$fault"
  roll 20
  soak_pause "$((roll / 10)).$((roll % 10))"
  rm -f "$out/printer-$fault"
  soak_log "fault $fault off"
  # A halt stays until the printer is reset: it is switched off and on, as its user would.
  [ "$fault" = stall ] && soak_unplug
}

# Nothing of ours runs: wait for every job, then the printer must be as a desktop leaves it.
soak_settle() {
  local name
  while [ ${#soak_running[@]} -gt 0 ]; do
    soak_reap
    sleep 0.1
  done
  for name in "${!pids[@]}"; do
    [[ $name == nodejob* ]] && [ -z "${soak_job_status[$name]:-}" ] || continue
    # A writer usblp keeps waiting (the printer took no bytes for a while) is the printer's, not ours;
    # one that never ends would keep the node from everybody.
    if ! soak_until 60 job_ended "${pids[$name]}"; then
      soak_log "job $name still writing after a minute: ended"
      kill -KILL "${pids[$name]}"
    fi
    wait "${pids[$name]}"
    soak_job_status[$name]=$?
  done
  soak_cups_settle
  soak_check "CUPS's queue empties" $? "jobs still waiting: $(cups_jobs_said)"
  wait_for_driver usblp 20
  soak_check "usblp bound when idle" $? "the printer interface has driver $(driver)"
  [ -e "$(lp_node)" ]
  soak_check "usblp's node there when idle" $? "no $(lp_node)"
  soak_compare_jobs
  soak_check_files
}

# CUPS's queue empties once nothing of ours runs. A job whose backend failed under the soak's own doing (the
# printer unplugged or halted mid-job) is held by CUPS's retry-job policy for JobRetryInterval and then tried
# again; one still held well past that is released, as its administrator would with lp -H resume, and counted
# in the report, and then the queue must empty within the bound all the same.
soak_cups_settle() {
  soak_until 60 cups_idle && return 0
  local id released=0
  soak_log "CUPS still has jobs after 60 s: $(cups_jobs_said); the queue: $(lpstat -p "$cups_queue" 2>&1 | tr -s '\n\t' '  ')"
  # A job CUPS holds says so in its reasons (its alerts).
  for id in $(lpstat -l -o "$cups_queue" 2>/dev/null |
    awk '/^[^ \t]/ { id = $1 } /Alerts:.*(resources-are-not-ready|job-hold-until-specified)/ { print id }'); do
    lp -i "$id" -H resume >>"$out/soak-cups.txt" 2>&1 || problem "lp could not release $id"
    released=$((released + 1))
    soak_log "released $id, which CUPS kept held"
  done
  soak_cups_released=$((soak_cups_released + released))
  soak_until 60 cups_idle
}

# Every job that was written whole reached the printer whole and in order, exactly once.
soak_compare_jobs() {
  local entry name file label whole status
  for entry in "${soak_jobs[@]}"; do
    read -r name file label <<<"$entry"
    if [[ $name != cups:* ]]; then
      status=${soak_job_status[$name]}
      if [ "$status" != 0 ]; then
        soak_log "job $name ended with $status (an unplug cuts a job): not compared"
        continue
      fi
    fi
    whole=$(job_copies "$file")
    soak_jobs_compared=$((soak_jobs_compared + 1))
    soak_bytes_compared=$((soak_bytes_compared + $(stat -c %s "$file")))
    soak_check "every job whole, in order, once" $(((whole == 1) ? 0 : 1)) \
      "$name ($(stat -c %s "$file") bytes) is at the printer whole $whole times"
  done
  soak_jobs=()
}

# Our programs write no file of their own: nothing new under the users' folders and /run but what the
# soak itself made.
soak_check_files() {
  local new
  new=$(find /run/user /run/tmp -xdev -newer "$soak_marker" -type f ! -path "$TMPDIR/*job*" ! -path "$soak_files/*" \
    ! -name '*.state' 2>/dev/null | head -n 5)
  [ -z "$new" ]
  soak_check "nothing written outside what a step names" $? "new files: $new"
  touch "$soak_marker"
}

soak() {
  RANDOM=$soak_seed
  note "soak: seed $soak_seed, $soak_steps steps; $(soak_replay)"
  : >"$out/soak-log.txt"
  make_users
  start_udev
  start_cups || return
  lpadmin -p "$cups_queue" -o printer-error-policy=retry-job 2>>"$out/lpadmin.err"
  soak_files=$TMPDIR/soak-files
  mkdir -p "$soak_files"
  "$ctl" save-commands power --power-on on --auto-power-off 10 -o "$soak_files/power-on" >/dev/null &&
    "$ctl" save-commands print --info-print 2 -o "$soak_files/print" >/dev/null || problem "no command files"
  chmod -R a+rX "$soak_files"
  soak_marker=$TMPDIR/soak-marker
  touch "$soak_marker"
  for soak_step in $(seq 1 "$soak_steps"); do
    soak_reap
    roll 100
    if [ "$roll" -lt 55 ]; then
      while [ ${#soak_running[@]} -ge "$soak_at_once" ]; do
        soak_reap
        sleep 0.05
      done
      soak_start_run
    elif [ "$roll" -lt 70 ]; then
      soak_signal_run
    elif [ "$roll" -lt 80 ]; then
      soak_node_job
    elif [ "$roll" -lt 86 ]; then
      soak_cups_job
    elif [ "$roll" -lt 89 ] && [ $((soak_step - soak_last_unplug)) -gt 10 ]; then
      soak_unplug
    elif [ "$roll" -lt 94 ]; then
      soak_fault
    else
      soak_log "settle"
      soak_settle
    fi
    roll 8
    soak_pause "0.$roll"
  done
  soak_settle
  stop_cups
  soak_write_report
}

soak_write_report() {
  local key
  {
    echo "soak: seed $soak_seed, $soak_steps steps run"
    echo "$(soak_replay)"
    echo "steps by kind:"
    for key in "${!soak_tally[@]}"; do echo "  $key: ${soak_tally[$key]}"; done | sort
    echo "jobs compared: $soak_jobs_compared, $soak_bytes_compared bytes"
    echo "signals sent: $soak_signals"
    echo "unplugs: $soak_unplugs"
    echo "CUPS jobs released after CUPS kept them held: $soak_cups_released"
    echo "invariants (held / failed):"
    for key in "${!soak_pass[@]}" "${!soak_fail[@]}"; do echo "$key"; done | sort -u | while read -r key; do
      echo "  $key: ${soak_pass[$key]:-0} / ${soak_fail[$key]:-0}"
    done
  } >"$out/soak-report.txt"
  sed 's/^/  /' "$out/soak-report.txt" >>"$report"
}
