#!/usr/bin/env bash
# lm360rctl's completions offer what the table below expects, in each shell.
# Usage: completions.sh bash|fish|zsh COMPLETION-FILE
set -euo pipefail
shell=$1
file=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v "$shell" >/dev/null; then
  echo "$shell is missing (scripts/deps installs it)" >&2
  exit 1
fi

# What the user typed (the cursor at the end) | the words offered, sorted. For options only the long
# forms count: fish offers the short ones as well. apply's "setting=" counts as the setting.
cases=$(cat <<'EOF'
lm360rctl |apply get inspect list reset save-commands send set status
lm360rctl -|--help --version
lm360rctl get |auto-power-off command-mode info-print network power-on
lm360rctl get power-on |auto-power-off command-mode info-print network
lm360rctl get power-on net|network
lm360rctl get -|--all --help --json --serial --wait
lm360rctl get --serial |
lm360rctl set |auto-power-off info-print network power-on
lm360rctl set power-on |off on
lm360rctl set auto-power-off |0 10 20 30 40 50 60
lm360rctl set network |1 2 3
lm360rctl set info-print |1 2 3
lm360rctl set command-mode |
lm360rctl set power-on on |
lm360rctl --serial A1 set net|network
lm360rctl set --wait 5 auto-power-off |0 10 20 30 40 50 60
lm360rctl list -|--help --json --serial --wait
lm360rctl status -|--help --json --serial --wait
lm360rctl reset -|--all --help --json --serial --wait --yes
lm360rctl send -|--all --help --json --serial --wait
lm360rctl set -|--all --help --json --serial --wait
lm360rctl apply -|--all --check --from --help --json --serial --wait
lm360rctl apply |auto-power-off info-print network power-on
lm360rctl apply power-on=on |auto-power-off info-print network
lm360rctl apply network=2 power-on=|off on
lm360rctl apply auto-power-off=|0 10 20 30 40 50 60
lm360rctl apply --all net|network
lm360rctl apply --from |office.bin
lm360rctl --serial A1 apply info-print=|1 2 3
lm360rctl inspect -|--help --json
lm360rctl save-commands |power print
lm360rctl save-commands -|--auto-power-off --help --info-print --json --network --output --power-on
lm360rctl save-commands power -|--auto-power-off --help --json --network --output --power-on
lm360rctl save-commands print -|--help --info-print --json --output
lm360rctl save-commands power --auto-power-off |0 10 20 30 40 50 60
lm360rctl save-commands power --power-on=|off on
lm360rctl save-commands print --info-print 2 -o |office.bin
lm360rctl inspect |office.bin
lm360rctl send --serial A1 |office.bin
lm360rctl status |
EOF
)

# shellcheck source=bash-offered.sh
source "$here/bash-offered.sh"
offered_bash() { bash_offered "$file" "$1"; }

# zsh completes only in its line editor, so one zsh session answers every line at once.
zsh_answers=""
# Where nothing else fits zsh offers the options even without a dash typed; only where one is typed
# do they count.
offered_zsh() {
  awk -F'|' -v line="$1" '$1 == line { print $2 }' <<<"$zsh_answers" | tr ' ' '\n' |
    if [[ ${1##* } == -* ]]; then cat; else grep -v -- '^--' || true; fi
}

offered_fish() {
  # shellcheck disable=SC2016 # fish expands $argv itself
  fish --no-config -c 'source $argv[1]; complete --do-complete=$argv[2]' "$file" "$1" |
    cut -f1 | sed -E 's/^(--)?[a-z-]+=(.)/\2/'
}

case $shell in
  bash) bash -n "$file" ;;
  fish) fish --no-execute "$file" ;;
  zsh) zsh -n "$file" ;;
  *) echo "usage: completions.sh bash|fish|zsh COMPLETION-FILE" >&2; exit 1 ;;
esac

# The shells get a home of their own (fish sets up its folders in it) and a folder with one file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home" "$work/files"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
touch "$work/files/office.bin"
cd "$work/files"
if [ "$shell" = zsh ]; then
  mapfile -t lines < <(cut -d'|' -f1 <<<"$cases")
  zsh_answers=$(timeout 60 zsh -f "$here/zsh-complete.zsh" "$file" "${lines[@]}")
fi

failures=0
while IFS='|' read -r line expected; do
  got=$("offered_$shell" "$line" | sed -E '/^-[^-]/d; s|[/=]$||' | sort | tr '\n' ' ' | sed 's/ $//')
  if [ "$got" != "$expected" ]; then
    echo "$shell: \"$line\" offers \"$got\", expected \"$expected\"" >&2
    failures=$((failures + 1))
  fi
done <<<"$cases"
[ "$failures" -eq 0 ]
