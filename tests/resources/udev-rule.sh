#!/usr/bin/env bash
# The udev rule opens exactly the printer the programs look for (the names in PrinterModel.h) to
# the user at the seat, and runs before the rule that turns the uaccess tag into an ACL.
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

rules=$(grep -v -E '^\s*(#|$)' "$rule")
if [ "$(wc -l <<<"$rules")" -ne 1 ]; then
  echo "$rule: expected one rule" >&2
  exit 1
fi
for key in 'SUBSYSTEM=="usb"' 'ENV{DEVTYPE}=="usb_device"' "ATTR{manufacturer}==\"$manufacturer\"" \
  "ATTR{product}==\"$product\"" 'TAG+="uaccess"'; do
  if [[ "$rules" != *"$key"* ]]; then
    echo "$rule: the rule lacks $key" >&2
    exit 1
  fi
done
if [[ "$rules" == *MODE=* || "$rules" == *GROUP=* ]]; then
  echo "$rule: access is for the seat's user (uaccess), not for everyone or a group" >&2
  exit 1
fi
if [[ ! "$(basename "$rule")" < 73-seat-late.rules ]]; then
  echo "$rule: must sort before 73-seat-late.rules" >&2
  exit 1
fi
