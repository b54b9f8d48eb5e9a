# Steps and checks for real-kernel scenarios; sourced by guest.sh inside the guest (bash, chroot of the
# host's /). Every step is bounded, and each one's exit status, output, guest wall time and the printer
# interface's kernel driver afterwards go to the report.

ctl=$build/cli/lm360rctl
app=$build/app/lm360r-settings
holder=$build/tests/kernel/lm360r-kernel-holder
node_client=$build/tests/kernel/lm360r-kernel-node-client
report=$out/report.txt
step_seconds=20    # no step may take longer
driver_after=usblp # what every step must leave bound; "-" for a step that cannot (an unplug)
# Whether others may make usblp probe again during a step (an unplug, CUPS's backend): otherwise a step
# must leave usblp as it found it, with no new probe in the kernel's log and its node the same file.
churn=none
failures=0
declare -A pids started signalled passes_at_signal probes_at inode_at

note() { echo "$*" >>"$report"; }
problem() {
  note "  FAIL: $*"
  failures=$((failures + 1))
}
# Bash's own clock: no process is started, so measuring costs nothing even in an emulated guest.
now_ms() {
  local micro=${EPOCHREALTIME/./}
  echo $((micro / 1000))
}

# The LM-360R's printer interface (a scenario may plug in a printer of another make beside it).
printer_interface() {
  local d
  for d in /sys/bus/usb/devices/*:*; do
    if [ "$(cat "$d/bInterfaceClass" 2>/dev/null)" = 07 ] && [ "$(cat "$d/../product" 2>/dev/null)" = LM-360R ]; then
      echo "$d"
      return
    fi
  done
}
# usblp, none, or absent (no printer interface at all)
driver() {
  local d
  d=$(printer_interface)
  if [ -z "$d" ]; then
    echo absent
  elif [ -e "$d/driver" ]; then
    basename "$(readlink "$d/driver")"
  else
    echo none
  fi
}
wait_for_driver() { # WANT SECONDS
  local deadline=$(($(now_ms) + $2 * 1000))
  until [ "$(driver)" = "$1" ]; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
lp_node() { echo "/dev/usb/$(basename "$(printer_interface)"/usbmisc/lp* 2>/dev/null)"; }
# usblp's probes so far, as the kernel logs them, and the inode of its node now ("none" without one).
usblp_probes() { dmesg | grep -c 'directional printer dev'; }
node_inode() { stat -c %i "$(lp_node)" 2>/dev/null || echo none; }
# Before a step: what it must leave as it is.
mark_kernel() { # NAME
  probes_at[$1]=$(usblp_probes)
  inode_at[$1]=$(node_inode)
}

# Bytes the printer has received on its bulk OUT pipe so far, and exchanges begun (each opens with ESC @).
out_bytes() { stat -c %s "$out/bulk-out.bin" 2>/dev/null || echo 0; }
# Bulk IN requests the printer has had so far: every pass of a read is one.
in_passes() { stat -c %s "$out/bulk-in.bin" 2>/dev/null || echo 0; }
wait_for_in_passes() { # COUNT: until the printer has had at least COUNT (bounded)
  local deadline=$(($(now_ms) + step_seconds * 1000))
  while [ "$(in_passes)" -lt "$1" ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.05; done
}
# While the file exists the printer swallows every reply (its device program checks for it).
printer_falls_silent() { : >"$out/printer-silent"; }
printer_speaks_again() { rm -f "$out/printer-silent"; }
# While the file exists the printer takes no bytes: a write to it waits until the writer gives up.
printer_stops_taking() { : >"$out/printer-full"; }
printer_takes_again() { rm -f "$out/printer-full"; }
# The device goes when its program next looks at the switch, and comes back as a new plug.
unplug_printer() { : >"$out/printer-unplug"; }
exchanges() { LC_ALL=C grep -a -o $'\x1b@' "$out/bulk-out.bin" 2>/dev/null | wc -l; }
wait_for_out_bytes() { # COUNT: until the printer has received at least COUNT bytes (bounded)
  local deadline=$(($(now_ms) + step_seconds * 1000))
  while [ "$(out_bytes)" -lt "$1" ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.05; done
}
wait_for_exchanges() { # COUNT: until the printer has seen at least COUNT exchanges begin (bounded)
  local deadline=$(($(now_ms) + step_seconds * 1000))
  while [ "$(exchanges)" -lt "$1" ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.1; done
}
wait_for_quiet_printer() { # SECONDS: until nothing arrives for that long, after the first byte
  local last=-1 size
  while size=$(out_bytes) && [ "$size" != "$last" ]; do
    last=$size
    sleep "$1"
  done
}

record() { # NAME EXPECTED STATUS START_MS END_MS
  local name=$1 expected=$2 status=$3 ms=$(($5 - $4)) now_driver
  now_driver=$(driver)
  note "step $name: status $status (expected $expected), ${ms} ms, driver afterwards: $now_driver"
  if [ -n "${signalled[$name]:-}" ]; then
    ms=$(($5 - ${signalled[$name]}))
    note "  ended $ms ms after its signal, $(($(in_passes) - ${passes_at_signal[$name]})) read passes after it"
  fi
  sed 's/^/  stdout: /' "$out/$name.out" | head -n 20 >>"$report"
  sed 's/^/  stderr: /' "$out/$name.err" | head -n 20 >>"$report"
  [ "$status" = "$expected" ] || problem "$name ended with status $status, expected $expected"
  if [ "$driver_after" != - ] && [ "$now_driver" != "$driver_after" ]; then
    problem "$name left the printer interface with driver $now_driver, expected $driver_after"
  fi
  if [ "$churn" = none ] && [ -n "${probes_at[$name]:-}" ]; then
    local probes inode
    probes=$(($(usblp_probes) - ${probes_at[$name]}))
    inode=$(node_inode)
    [ "$probes" -eq 0 ] || problem "$name made usblp probe $probes time(s): the driver was taken away"
    [ "$inode" = "${inode_at[$name]}" ] || problem "$name left usblp's node another file (inode ${inode_at[$name]}, now $inode)"
  fi
  eval "ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$name")=$ms"
}

# run NAME EXPECTED_STATUS COMMAND...: runs COMMAND to its end.
run() {
  local name=$1 expected=$2 t0 t1 status
  shift 2
  mark_kernel "$name"
  t0=$(now_ms)
  timeout -k 2 "$step_seconds" "$@" >"$out/$name.out" 2>"$out/$name.err"
  status=$?
  t1=$(now_ms)
  record "$name" "$expected" "$status" "$t0" "$t1"
}

# start NAME COMMAND...: starts COMMAND in the background, with the default action for the signals a
# scenario sends (a shell without job control would have it ignore SIGINT).
start() {
  local name=$1
  shift
  mark_kernel "$name"
  started[$name]=$(now_ms)
  env --default-signal=INT,TERM,HUP,QUIT "$@" >"$out/$name.out" 2>"$out/$name.err" &
  pids[$name]=$!
}
signal() { # NAME SIGNAL
  signalled[$1]=$(now_ms)
  passes_at_signal[$1]=$(in_passes)
  kill -s "$2" "${pids[$1]}"
}
finish() { # NAME EXPECTED_STATUS: waits for a started step (bounded) and records it
  local name=$1 pid=${pids[$1]} status ended watchdog
  (sleep "$step_seconds" && kill -KILL "$pid") 2>/dev/null &
  watchdog=$!
  wait "$pid"
  status=$?
  ended=$(now_ms)
  kill "$watchdog" 2>/dev/null
  record "$name" "$2" "$status" "${started[$name]}" "$ended"
}

# Checks on what a step left.
expect_out() { # NAME EXTENDED_REGEX
  grep -Eq -- "$2" "$out/$1.out" || problem "$1: no line of its output matches /$2/"
}
expect_err() {
  grep -Eq -- "$2" "$out/$1.err" || problem "$1: no line of its error output matches /$2/"
}
expect_ms_at_most() { # NAME MILLISECONDS: the step's own time, or its time after its signal
  local ms
  ms=$(eval echo "\$ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$1")")
  [ "$ms" -le "$2" ] || problem "$1 took $ms ms, more than $2 ms"
}
expect_ms_beyond_at_most() { # NAME BASELINE MILLISECONDS: NAME's time beyond BASELINE's at most this
  local ms base
  ms=$(eval echo "\$ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$1")")
  base=$(eval echo "\$ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$2")")
  [ $((ms - base)) -le "$3" ] || problem "$1 took $((ms - base)) ms beyond $2, more than $3 ms"
}
expect_ms_beyond_at_least() { # NAME BASELINE MILLISECONDS: NAME's time beyond BASELINE's at least this
  local ms base
  ms=$(eval echo "\$ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$1")")
  base=$(eval echo "\$ms_$(tr -c 'a-zA-Z0-9\n' _ <<<"$2")")
  [ $((ms - base)) -ge "$3" ] || problem "$1 took $((ms - base)) ms beyond $2, less than $3 ms"
}
# What the program did after its signal: the read passes it still made (a deferred signal ends the run
# at the next pass).
expect_passes_after_signal_at_most() { # NAME COUNT
  local passes=$(($(in_passes) - ${passes_at_signal[$1]}))
  [ "$passes" -le "$2" ] || problem "$1 made $passes read passes after its signal, more than $2"
}
# A print job reached the printer whole: its bytes at the device from OFFSET, in order. Notes the
# comparison for the report either way.
expect_job_at_device() { # NAME JOB OFFSET
  local size received verdict=equal
  size=$(stat -c %s "$2")
  received=$(($(out_bytes) - $3))
  [ "$received" -le "$size" ] || received=$size
  if ! tail -c +$(($3 + 1)) "$out/bulk-out.bin" | head -c "$size" | cmp -s - "$2"; then
    verdict="NOT equal"
    problem "job $1 did not reach the printer whole and in order"
  fi
  note "job $1: $size bytes sent, $received bytes at the device from byte $3, $verdict"
}
# A run of COMMAND killed outright while its read waits for a printer that has fallen silent: the
# kernel closes what it had open, and the driver is bound as before.
kill_mid_read() { # NAME COMMAND...
  local name=$1 before
  shift
  printer_falls_silent
  before=$(in_passes)
  start "$name" "$@"
  # usblp asks the printer once and waits; through a claim every pass asks again
  wait_for_in_passes $((before + 1))
  sleep 0.5
  signal "$name" KILL
  finish "$name" 137
  printer_speaks_again
}

expect_setting() { # KEY VALUE: the device's stored value now
  grep -Eq "^$1 = $2\$" "$out/printer.state" || problem "the printer holds $(grep -E "^$1 =" "$out/printer.state"), expected $1 = $2"
}

# interrupt NAME SIGNAL EXPECTED_STATUS COMMAND...: starts COMMAND, waits until its first exchange's
# request has reached the printer and its read is under way, sends SIGNAL and records the end.
interrupt() {
  local name=$1 sig=$2 expected=$3 before
  shift 3
  before=$(out_bytes)
  start "$name" "$@"
  wait_for_out_bytes $((before + 9)) # ESC @, the mode frame and a read request
  sleep 0.5
  signal "$name" "$sig"
  finish "$name" "$expected"
}
# Waits (bounded) until a started step has printed a line matching EXTENDED_REGEX.
wait_for_output() { # NAME EXTENDED_REGEX
  local deadline=$(($(now_ms) + step_seconds * 1000))
  until grep -Eq -- "$2" "$out/$1.out"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Speed of an exchange, for the report (a measurement, never a check): a get's five exchanges against
# five exchanges made through usblp's node by a minimal C client. Each as the printer sees it, from the
# first byte to the last reply byte (so a get's time includes finding the printer again between its
# exchanges), and a get less a list as whole commands (process start-up included); medians of five.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
micros() { echo "${EPOCHREALTIME/./}"; }
times_lines() { wc -l <"$out/times.txt" 2>/dev/null || echo 0; }
span_at_printer() { # FROM_LINE: microseconds from the first byte taken to the last reply sent since then
  tail -n +$(($1 + 1)) "$out/times.txt" |
    awk '$2 == "out" && first == "" { first = $1 } $2 == "in" { last = $1 } END { print last - first }'
}
measure_exchange_speed() {
  local i t0 from lists=() gets=() spans=() clients=() list get span client
  for i in 1 2 3 4 5; do
    t0=$(micros)
    "$ctl" list >/dev/null 2>&1
    lists+=($(($(micros) - t0)))
    from=$(times_lines)
    t0=$(micros)
    "$ctl" get >/dev/null 2>&1 || problem "a get for the measurement failed"
    gets+=($(($(micros) - t0)))
    spans+=("$(span_at_printer "$from")")
    from=$(times_lines)
    "$node_client" "$(lp_node)" 1 >/dev/null || problem "the C client failed"
    clients+=("$(span_at_printer "$from")")
  done
  list=$(printf '%s\n' "${lists[@]}" | median)
  get=$(printf '%s\n' "${gets[@]}" | median)
  span=$(printf '%s\n' "${spans[@]}" | median)
  client=$(printf '%s\n' "${clients[@]}" | median)
  note "speed at the printer: a get's five exchanges ${spans[*]} us, the C client's ${clients[*]} us:" \
    "medians $span and $client us, ratio $(awk -v a="$span" -v b="$client" 'BEGIN { printf "%.2f", a / b }')"
  note "speed as commands: get ${gets[*]} us, list ${lists[*]} us: a get less a list $(((get - list) / 1000)) ms" \
    "(medians), $(awk -v a="$((get - list))" -v b="$client" 'BEGIN { printf "%.1f", a / b }') times the C client's"
}
