#!/usr/bin/env bash
# Every command, option, setting and value the bash completion offers is one lm360rctl accepts, so
# the completions cannot drift from the program. Settings and values are tried on the simulated
# printer. Usage: completion-accepted.sh LM360RCTL BASH-COMPLETION-FILE
set -euo pipefail
lm360rctl=$1
completion=$2
export LM360R_USB=simulated
unset LM360R_SIM_STATE
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=bash-offered.sh
source "$(dirname "$0")/bash-offered.sh"
offered() { bash_offered "$completion" "$1"; }

failures=0
accepts() {
  local said
  if ! said=$("$lm360rctl" "$@" 2>&1 >/dev/null); then
    # lm360rctl learns --wait separately; until it does, the completion is ahead of it.
    if [[ " $* " == *" --wait "* && $said == *"Unknown option 'wait'"* ]]; then
      echo "note: lm360rctl does not know --wait yet" >&2
      return 0
    fi
    echo "lm360rctl $* failed: $said" >&2
    failures=$((failures + 1))
  fi
}

# A value that each value-taking option accepts.
sample() {
  case $1 in
    --serial) echo SIM0000001 ;;
    --wait) echo 1 ;;
    --output) echo "$work/out" ;;
    --from) echo "$work/wish.json" ;;
    *) offered "lm360rctl save-commands ${2:-power} $1 " | head -n 1 ;;
  esac
}

for command in $(offered "lm360rctl "); do
  accepts "$command" --help
  # save-commands takes its options after a group word; the others directly.
  before=("$command")
  [ "$command" = save-commands ] && mapfile -t before < <(offered "lm360rctl save-commands " | sed "s/^/$command /")
  for words in "${before[@]}"; do
    read -r -a words <<<"$words"
    for option in $(offered "lm360rctl ${words[*]} -"); do
      case $option in
        --help | --json | --yes) accepts "${words[@]}" "$option" --help ;;
        *) accepts "${words[@]}" "$option" "$(sample "$option" "${words[1]-}")" --help ;;
      esac
    done
  done
done

for setting in $(offered "lm360rctl get "); do
  accepts get "$setting"
done
for setting in $(offered "lm360rctl set "); do
  for value in $(offered "lm360rctl set $setting "); do
    accepts set "$setting" "$value"
  done
done
for assignment in $(offered "lm360rctl apply "); do
  for value in $(offered "lm360rctl apply $assignment"); do
    accepts apply "$assignment$value" --check
  done
done
for group in $(offered "lm360rctl save-commands "); do
  accepts save-commands "$group" -o "$work/$group"
done
[ "$failures" -eq 0 ]
