#!/usr/bin/env bash
# lm360r-settings answers --help and --version without a display, takes Qt's own options, and
# refuses other options with exit status 1 instead of opening the window.
# Usage: options.sh LM360R-SETTINGS
set -euo pipefail
program=$1
failures=0
fail() { echo "$*" >&2; failures=$((failures + 1)); }

# Runs the program with no display at all; sets out, err and status.
run() {
  local files
  files=$(mktemp -d)
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$program" "$@" \
    >"$files/out" 2>"$files/err"
  status=$?
  set -e
  out=$(cat "$files/out")
  err=$(cat "$files/err")
  rm -rf "$files"
}

for option in --version -v; do
  run "$option"
  if [ "$status" -ne 0 ] || [[ ! $out =~ ^lm360r-settings\ [0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    fail "$option: exit $status, printed \"$out\" $err"
  fi
done
for option in --help -h; do
  run "$option"
  if [ "$status" -ne 0 ] || [[ $out != "Usage: lm360r-settings "*--version* ]]; then
    fail "$option: exit $status, printed \"$out\" $err"
  fi
done

# The unknown option is only found once Qt has taken its own, so these start Qt: offscreen.
export QT_QPA_PLATFORM=offscreen
for arguments in "--no-such-option" "-platform offscreen --no-such-option" "-reverse --no-such-option"; do
  read -r -a words <<<"$arguments"
  set +e
  err=$(timeout 30 "$program" "${words[@]}" 2>&1 >/dev/null)
  status=$?
  set -e
  if [ "$status" -ne 1 ] || [[ $err != *"no-such-option"* ]]; then
    fail "$arguments: exit $status (expected 1), said \"$err\""
  fi
done
[ "$failures" -eq 0 ]
