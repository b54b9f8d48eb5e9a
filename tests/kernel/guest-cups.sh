# CUPS printing to the printer in the guest (sourced by guest.sh): a cupsd of the test's own, configured
# under /run, with a raw queue on CUPS's own libusb `usb` backend for the LM-360R. cupsd runs as root, so
# the backend does too (its file mode gives no one else the right to run it), as on a desktop.

cups_dir=/run/cups-guest
cups_queue=lm360r
export CUPS_SERVER=$cups_dir/cups.sock

start_cups() {
  mkdir -p "$cups_dir"/{spool,tmp,cache,state,log,ppd}
  cat >"$cups_dir/cups-files.conf" <<EOF
ServerRoot $cups_dir
RequestRoot $cups_dir/spool
TempDir $cups_dir/tmp
CacheDir $cups_dir/cache
StateDir $cups_dir/state
AccessLog $cups_dir/log/access_log
ErrorLog $cups_dir/log/error_log
PageLog $cups_dir/log/page_log
Printcap $cups_dir/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
User lp
Group lp
EOF
  cat >"$cups_dir/cupsd.conf" <<EOF
Listen $CUPS_SERVER
LogLevel debug
# A long soak's whole log, so that a job CUPS kept waiting can be explained afterwards.
MaxLogSize 0
# A job whose backend failed when the printer went away under it is tried again this soon (the retry-job
# policy), well inside the time a scenario waits for the queue to empty.
JobRetryInterval 10
Browsing Off
BrowseLocalProtocols none
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  # Jobs pass through unfiltered.
  cat >"$cups_dir/raw.ppd" <<'EOF'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LM360R.PPD"
*Manufacturer: "Tamblor"
*Product: "(LM-360R)"
*ModelName: "Tamblor LM-360R"
*ShortNickName: "Tamblor LM-360R"
*NickName: "Tamblor LM-360R"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*cupsVersion: 2.4
*cupsFilter2: "application/octet-stream application/vnd.cups-raw 0 -"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: Label
*PageSize Label/Label: "<</PageSize[176 176]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: Label
*ImageableArea Label/Label: "0 0 176 176"
*DefaultPaperDimension: Label
*PaperDimension Label/Label: "176 176"
EOF
  cupsd -f -c "$cups_dir/cupsd.conf" -s "$cups_dir/cups-files.conf" >"$out/cupsd.out" 2>&1 &
  cupsd_pid=$!
  local deadline=$(($(now_ms) + 20000))
  until lpstat -r >/dev/null 2>&1; do
    [ "$(now_ms)" -lt "$deadline" ] || { problem "cupsd did not start"; return 1; }
    sleep 0.2
  done
  # The URI the backend lists for this printer (lpinfo -v): maker and model from the device ID, the serial
  # from the device. Listing it would detach usblp once more; the scenario's state file names the serial.
  local uri try
  uri="usb://Tamblor/LM-360R?serial=$(sed -n 's/^serial = //p' "$out/printer.state" | head -n 1)"
  for try in 1 2 3 4 5; do
    lpadmin -p "$cups_queue" -E -v "$uri" -P "$cups_dir/raw.ppd" 2>>"$out/lpadmin.err" && return 0
    sleep 0.3
  done
  problem "no queue for $uri: $(tail -n 1 "$out/lpadmin.err")"
  return 1
}
stop_cups() {
  cp "$cups_dir/log/error_log" "$out/cups-error_log" 2>/dev/null
  [ -z "${cupsd_pid:-}" ] || kill "$cupsd_pid" 2>/dev/null
}

# A job of LINES distinct lines, in the file JOB.
make_job() { # JOB LINES LABEL
  local i
  for i in $(seq 1 "$2"); do printf '%s line %05d of a label job sent through CUPS\n' "$3" "$i"; done >"$1"
}
# Where the job labelled LABEL begins in what the printer received; empty when it never arrived.
job_start() { # LABEL
  LC_ALL=C grep -a -b -o "$1 line 00001 " "$out/bulk-out.bin" | head -n 1 | cut -d: -f1
}
# How many whole copies of the file JOB the printer received, wherever they began.
job_copies() { # JOB
  python3 -c 'import sys; print(open(sys.argv[1], "rb").read().count(open(sys.argv[2], "rb").read()))' \
    "$out/bulk-out.bin" "$1"
}
# The job reached the printer whole, wherever it began.
expect_cups_job() { # NAME JOB LABEL
  local at
  at=$(job_start "$3")
  [ -n "$at" ] || at=$(out_bytes)
  expect_job_at_device "$1" "$2" "$at"
}
print_job() { # NAME JOB: sends the job with lp and notes when
  lp -d "$cups_queue" -o raw "$2" >"$out/$1.lp" 2>&1 || problem "lp refused job $1: $(cat "$out/$1.lp")"
  note "job $1 sent with lp: $(cat "$out/$1.lp")"
}
# Each job left in CUPS's queue with what CUPS says of it (its state's reasons and message), on one line.
cups_jobs_said() { lpstat -l -o "$cups_queue" 2>&1 | tr -s '\n\t' '  '; }
# Until one of CUPS's jobs has REASON among its reasons (lpstat's alerts), for at most SECONDS.
cups_job_says() { # REASON SECONDS
  local deadline=$(($(now_ms) + $2 * 1000))
  until lpstat -l -o "$cups_queue" 2>/dev/null | grep -q "Alerts:.*$1"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
# Until CUPS has no job left (bounded; the backend waits up to 8 s for its back channel after each job).
wait_for_cups_idle() {
  local deadline=$(($(now_ms) + 60000)) start
  start=$(now_ms)
  while [ -n "$(lpstat -o "$cups_queue" 2>/dev/null)" ]; do
    if [ "$(now_ms)" -ge "$deadline" ]; then
      problem "CUPS still has jobs after 60 s: $(lpstat -o "$cups_queue" | tr '\n' ' ')"
      return 1
    fi
    sleep 0.2
  done
  note "  CUPS idle after $(($(now_ms) - start)) ms, driver: $(driver)"
}
