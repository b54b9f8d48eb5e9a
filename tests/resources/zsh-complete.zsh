# Lists what zsh's completion offers, driving an interactive zsh in a pseudo-terminal (zsh completes
# only inside its line editor). Usage: zsh -f zsh-complete.zsh COMPLETION-FILE LINE...
# Prints "LINE|WORDS" per LINE: the words listed, sorted, without descriptions and headings.
setopt extended_glob
zmodload zsh/zpty
dir=$(mktemp -d)
trap 'rm -rf $dir' EXIT
cp $1 $dir/_lm360rctl
shift

zpty z 'TERM=dumb zsh -f -i'
zpty -w z "unset zle_bracketed_paste; PS1='> '; fpath=(${(q)dir} \$fpath); autoload -U compinit; compinit -u -D"
# Tab lists the choices instead of inserting one, so a single match is listed too.
zpty -w z "bindkey '^I' list-choices; zstyle ':completion:*' format '<%d>'; lm360rctl() { :; }; setopt nobeep"
# Each step ends with a marker printed by a command, so that a step that lists nothing ends too.
zpty -w z 'print -r -- END''MARK'
zpty -r z junk '*ENDMARK*> *'
for line in "$@"; do
  typed=${line%%[[:space:]]#}
  zpty -w -n z "$line"$'\t\C-u'
  zpty -w z 'print -r -- END''MARK'
  zpty -r z out '*ENDMARK*ENDMARK*> *'
  out=${out%%print -r -- END*}
  out=${${out//$'\r'/}//$'\b'/}
  words=()
  for row in ${(f)out}; do
    row=${${row//$'\e'\[[0-9;?]#[A-Za-z]/}%%[[:space:]]#}
    [[ $row == *"$typed"* || $row == \<*\> || $row == '> '* ]] && continue
    words+=(${=${row%%-- *}})
  done
  print -r -- "$line|${(j: :)${(o)words}}"
done
zpty -d z
