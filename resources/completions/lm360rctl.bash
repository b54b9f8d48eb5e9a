# bash completion for lm360rctl                                   -*- shell-script -*-
# Plain bash: it needs none of the bash-completion package's helpers, so it also works when sourced
# on its own. The settings and their values come from the program itself ("lm360rctl __complete"),
# so they are always the ones it takes.

# Asks the program being completed; one candidate a line, its description after a tab left out.
_lm360rctl_ask() {
    command "${COMP_WORDS[0]}" __complete "$@" 2>/dev/null | cut -f1
}

# Whether a word is a setting's option of save-commands, which takes a value.
_lm360rctl_takes_value() {
    local valued
    for valued in "${_lm360rctl_valued[@]}"; do
        [[ $1 == "$valued" ]] && return 0
    done
    return 1
}

# The words after the command that are not options or option values.
_lm360rctl_arguments() {
    local i word command=""
    _lm360rctl_args=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == --serial || $word == --wait || $word == -o || $word == --output || $word == --from ]] ||
            _lm360rctl_takes_value "$word"; then
            # bash splits "--serial=S" at the "=" into three words
            [[ ${COMP_WORDS[i + 1]-} == = ]] && ((i++))
            ((i++))
            continue
        fi
        case $word in
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=$word
                else
                    _lm360rctl_args+=("$word")
                fi
                ;;
        esac
    done
    _lm360rctl_command=$command
}

_lm360rctl_values() {
    _lm360rctl_ask values "$1"
}

_lm360rctl_words() {
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_lm360rctl_files() {
    compopt -o filenames 2>/dev/null || true
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

_lm360rctl() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # "--option=value" and apply's "setting=value": bash splits them at the "=" into three words
    local assigned=""
    if [[ $cur == = ]]; then
        cur=""
        assigned=$prev
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
        assigned=$prev
    fi
    # save-commands takes a value after each setting's own option
    local -a _lm360rctl_valued
    mapfile -t _lm360rctl_valued < <(_lm360rctl_ask group-options)
    COMPREPLY=()

    case $prev in
        --serial | --wait) return ;;
        -o | --output | --from) _lm360rctl_files; return ;;
    esac
    if _lm360rctl_takes_value "$prev"; then
        _lm360rctl_words "$(_lm360rctl_values "${prev#--}")"
        return
    fi

    local _lm360rctl_command _lm360rctl_args
    _lm360rctl_arguments
    local command=$_lm360rctl_command
    local -i count=${#_lm360rctl_args[@]}

    if [[ $cur == -* ]]; then
        local options="--json --help"
        case $command in
            "") options="--help --version" ;;
            list | status) options+=" --serial --wait" ;;
            get | set | send) options+=" --serial --wait --all" ;;
            reset) options+=" --serial --wait --all --yes" ;;
            apply) options+=" --serial --wait --all --check --from" ;;
            save-commands)
                options+=" $(_lm360rctl_ask group-options "${_lm360rctl_args[0]-}") --output"
                ;;
        esac
        _lm360rctl_words "$options"
        return
    fi

    case $command in
        "") _lm360rctl_words "$(_lm360rctl_ask commands)" ;;
        get)
            local setting left=""
            for setting in $(_lm360rctl_ask settings); do
                [[ " ${_lm360rctl_args[*]} " == *" $setting "* ]] || left+=" $setting"
            done
            _lm360rctl_words "$left"
            ;;
        set)
            if ((count == 0)); then
                _lm360rctl_words "$(_lm360rctl_ask writable)"
            elif ((count == 1)); then
                _lm360rctl_words "$(_lm360rctl_values "${_lm360rctl_args[0]}")"
            fi
            ;;
        apply)
            if [[ -n $assigned ]]; then
                _lm360rctl_words "$(_lm360rctl_values "$assigned")"
                return 0
            fi
            local setting left=""
            for setting in $(_lm360rctl_ask writable); do
                [[ " ${_lm360rctl_args[*]} " == *" $setting "* ]] || left+=" $setting="
            done
            _lm360rctl_words "$left"
            compopt -o nospace 2>/dev/null || true
            ;;
        save-commands) ((count == 0)) && _lm360rctl_words "$(_lm360rctl_ask groups)" ;;
        inspect | send) ((count == 0)) && _lm360rctl_files ;;
    esac
    return 0
}

complete -F _lm360rctl lm360rctl
