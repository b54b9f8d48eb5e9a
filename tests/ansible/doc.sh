#!/usr/bin/env bash
# The modules' documentation as ansible-doc shows it: each module's page renders without a warning,
# its EXAMPLES are YAML and use only the options it documents.
# Usage: doc.sh SOURCE-DIR
set -euo pipefail
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" ANSIBLE_HOME="$work/.ansible" ANSIBLE_CONFIG="$work/none.cfg" ANSIBLE_NOCOLOR=1
export ANSIBLE_COLLECTIONS_PATH="$top" ANSIBLE_COLLECTIONS_SCAN_SYS_PATH=false
modules=(lm360r.printer.lm360r_settings lm360r.printer.lm360r_info)

listed=$(ansible-doc --list lm360r.printer 2>"$work/err" | cut -d' ' -f1 | sort)
if [ "$listed" != "$(printf '%s\n' "${modules[@]}" | sort)" ]; then
  echo "ansible-doc --list lm360r.printer lists: $listed" >&2
  cat "$work/err" >&2
  exit 1
fi
status=0
for module in "${modules[@]}"; do
  if ! page=$(ansible-doc "$module" 2>"$work/err") || [ -s "$work/err" ]; then
    echo "ansible-doc $module:" >&2
    cat "$work/err" >&2
    status=1
    continue
  fi
  for section in OPTIONS ATTRIBUTES EXAMPLES "RETURN VALUES"; do
    grep -q "^$section" <<<"$page" || { echo "ansible-doc $module has no $section" >&2; status=1; }
  done
  ansible-doc --json "$module" >"$work/doc.json"
  /usr/bin/python3 - "$module" "$work/doc.json" <<'PY' || status=1
import json
import sys

import yaml

module, path = sys.argv[1], sys.argv[2]
doc = json.load(open(path))[module]
options = set(doc['doc']['options'])
problems = []
for task in yaml.safe_load(doc['examples']):
    tasks = task.get('block', [task])
    for t in tasks:
        if module in t:
            unknown = set(t[module] or {}) - options
            if unknown:
                problems.append('%s: example "%s" uses undocumented %s' % (module, t.get('name'), sorted(unknown)))
if not doc['return']:
    problems.append('%s documents no return values' % module)
for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PY
done
exit "$status"
