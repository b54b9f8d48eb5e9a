#!/usr/bin/env bash
# The lm360r.printer collection as Ansible runs it: ansible-playbook on localhost, the modules running
# the lm360rctl under test against the simulated printer with two LM-360R in its state file.
# Usage: playbook.sh SOURCE-DIR LM360RCTL
set -euo pipefail
top=$1
lm360rctl=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v ansible-playbook >/dev/null; then
  echo "ansible-playbook is missing (scripts/deps installs ansible-core)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home"
# Ansible keeps to this folder: its own files, the collection from the source tree and nothing
# installed, no configuration of the machine's.
export HOME="$work/home" ANSIBLE_HOME="$work/home/.ansible" ANSIBLE_CONFIG="$work/none.cfg"
export ANSIBLE_COLLECTIONS_PATH="$top" ANSIBLE_COLLECTIONS_SCAN_SYS_PATH=false
export ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/remote"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=false ANSIBLE_LOCALHOST_WARNING=false
export ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3
export LM360R_USB=simulated LM360R_SIM_STATE="$work/printers.state"
PATH="$(cd "$(dirname "$lm360rctl")" && pwd):$PATH"
export PATH
cd "$work"
printf '[printer]\nserial = SIM0000001\n[printer]\nserial = SIM0000002\n' >"$LM360R_SIM_STATE"

failures=0
fail() {
  echo "playbook.sh: $*" >&2
  failures=$((failures + 1))
}
# Runs a playbook; its output is kept in $work/last.out and shown when it fails.
play() {
  if ! ansible-playbook "$@" >"$work/last.out" 2>&1; then
    cat "$work/last.out" >&2
    fail "ansible-playbook $* failed"
  fi
}

# Values as a playbook writer types them: YAML reads the unquoted on as true.
cat >"$work/wanted.yml" <<'YAML'
wanted:
  power-on: on
  auto-power-off: 0
  info-print: 2
YAML
cat >"$work/other.yml" <<'YAML'
wanted:
  power-on: "off"
  network: 1
YAML

play "$here/settings.yml" -e @wanted.yml -e expect_changed=true
cp "$LM360R_SIM_STATE" "$work/after-first.state"
for serial in SIM0000001 SIM0000002; do
  got=$(lm360rctl get power-on auto-power-off info-print --serial "$serial")
  [ "$got" = "$(printf 'power-on: on (On)\nauto-power-off: 0 (0 min)\ninfo-print: 2 (Standard report)')" ] ||
    fail "after the first run $serial holds: $got"
done

play "$here/settings.yml" -e @wanted.yml -e expect_changed=false
cmp -s "$LM360R_SIM_STATE" "$work/after-first.state" || fail "the second run changed the state file"
grep -q 'changed=0' "$work/last.out" || fail "the second run reports a change: $(cat "$work/last.out")"

play "$here/settings.yml" -e @other.yml -e expect_changed=true --check
cmp -s "$LM360R_SIM_STATE" "$work/after-first.state" || fail "check mode changed the state file"

play "$here/settings.yml" -e @other.yml -e expect_changed=true --check --diff
for line in '--- before: SIM0000002' '+++ after: SIM0000002' '-power-on: on' '+power-on: off' '-network: 3' \
  '+network: 1'; do
  grep -q -x -F -- "$line" "$work/last.out" || fail "diff mode does not show \"$line\": $(cat "$work/last.out")"
done
cmp -s "$LM360R_SIM_STATE" "$work/after-first.state" || fail "check and diff mode changed the state file"

play "$here/settings.yml" -e '{"wanted": {"auto-power-off": 30}}' -e expect_changed=true -e target_serial=SIM0000002
[ "$(lm360rctl get auto-power-off --serial SIM0000001)" = "auto-power-off: 0 (0 min)" ] ||
  fail "serial SIM0000002 was asked for, but SIM0000001 changed too"

cp "$LM360R_SIM_STATE" "$work/before-failures.state"
play "$here/failures.yml"
cmp -s "$LM360R_SIM_STATE" "$work/before-failures.state" || fail "a failed task changed the state file"

lm360rctl set power-on off --serial SIM0000002 >/dev/null
play "$here/info.yml" -e lm360rctl_path="$lm360rctl"

# Neither serial nor all: the first printer is used, and lm360rctl's warning reaches the play.
if ! out=$(ansible localhost -m lm360r.printer.lm360r_settings -a '{"settings": {"power-on": "on"}}' 2>&1); then
  fail "lm360r_settings without serial failed: $out"
fi
grep -q "WARNING.*2 LM-360R printers are attached" <<<"$out" || fail "no warning that two printers are attached: $out"

[ "$failures" -eq 0 ]
