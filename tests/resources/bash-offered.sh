# Sourced by the completion tests: what the bash completion in COMPLETION-FILE offers for a typed line
# (the cursor at its end), one word a line, as bash would complete it.
bash_offered() { # COMPLETION-FILE LINE
  bash -c '
    set -euo pipefail
    source "$1"
    line=$2
    # bash splits "setting=value" and "--option=value" at the "=", as COMP_WORDBREAKS says
    read -r -a COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *" " || $line == *= ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    _lm360rctl
    if ((${#COMPREPLY[@]})); then printf "%s\n" "${COMPREPLY[@]}"; fi
  ' bash "$1" "$2"
}
