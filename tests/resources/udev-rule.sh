#!/usr/bin/env bash
# The udev rules open exactly the printer the programs look for (the names in PrinterModel.h) to
# the user at the seat: its USB device node and usblp's node of it, and run before the rule that turns
# the uaccess tag into an ACL.
# Usage: udev-rule.sh SOURCE-DIR
set -euo pipefail
top=$1
rule=$top/resources/udev/70-lm360r-printer.rules
identity=$top/protocol/PrinterModel.h
name() { sed -n -E "s/.*$1 = \"([^\"]*)\";.*/\1/p" "$identity"; }
manufacturer=$(name kTargetManufacturer)
product=$(name kTargetProduct)
if [ -z "$manufacturer" ] || [ -z "$product" ]; then
  echo "no target names found in $identity" >&2
  exit 1
fi
fail() {
  echo "$rule: $*" >&2
  exit 1
}

mapfile -t rules < <(grep -v -E '^\s*(#|$)' "$rule")
[ "${#rules[@]}" -eq 2 ] || fail "expected two rules (the USB device, usblp's node)"
expect_keys() { # RULE KEY...
  local r=$1 key
  shift
  for key in "$@" 'TAG+="uaccess"'; do
    [[ "$r" == *"$key"* ]] || fail "a rule lacks $key: $r"
  done
  if [[ "$r" == *MODE=* || "$r" == *GROUP=* || "$r" == *OWNER=* ]]; then
    fail "access is for the seat's user (uaccess), not for everyone or a group: $r"
  fi
}
expect_keys "${rules[0]}" 'SUBSYSTEM=="usb"' 'ENV{DEVTYPE}=="usb_device"' "ATTR{manufacturer}==\"$manufacturer\"" \
  "ATTR{product}==\"$product\""
expect_keys "${rules[1]}" 'SUBSYSTEM=="usbmisc"' 'KERNEL=="lp[0-9]*"' "ATTRS{manufacturer}==\"$manufacturer\"" \
  "ATTRS{product}==\"$product\""
if [[ ! "$(basename "$rule")" < 73-seat-late.rules ]]; then
  fail "must sort before 73-seat-late.rules"
fi
