# bash completion for lm360rctl                                   -*- shell-script -*-
# Plain bash: it needs none of the bash-completion package's helpers, so it also works when sourced
# on its own.

# The words after the command that are not options or option values.
_lm360rctl_arguments() {
    local i word command=""
    _lm360rctl_args=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --serial | --wait | -o | --output | --from | --power-on | --auto-power-off | --network | --info-print)
                # bash splits "--serial=S" at the "=" into three words
                [[ ${COMP_WORDS[i + 1]-} == = ]] && ((i++))
                ((i++))
                ;;
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
    case $1 in
        power-on) echo "off on" ;;
        auto-power-off) echo "0 10 20 30 40 50 60" ;;
        network | info-print) echo "1 2 3" ;;
    esac
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
    local settings="power-on auto-power-off network info-print command-mode"
    local writable="power-on auto-power-off network info-print"
    COMPREPLY=()

    case $prev in
        --serial | --wait) return ;;
        -o | --output | --from) _lm360rctl_files; return ;;
        --power-on | --auto-power-off | --network | --info-print)
            _lm360rctl_words "$(_lm360rctl_values "${prev#--}")"
            return
            ;;
    esac

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
                case ${_lm360rctl_args[0]-} in
                    power) options+=" --power-on --auto-power-off --network" ;;
                    print) options+=" --info-print" ;;
                    *) options+=" --power-on --auto-power-off --network --info-print" ;;
                esac
                options+=" --output"
                ;;
        esac
        _lm360rctl_words "$options"
        return
    fi

    case $command in
        "") _lm360rctl_words "list get set reset status save-commands inspect send apply" ;;
        get)
            local setting left=""
            for setting in $settings; do
                [[ " ${_lm360rctl_args[*]} " == *" $setting "* ]] || left+=" $setting"
            done
            _lm360rctl_words "$left"
            ;;
        set)
            if ((count == 0)); then
                _lm360rctl_words "$writable"
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
            for setting in $writable; do
                [[ " ${_lm360rctl_args[*]} " == *" $setting "* ]] || left+=" $setting="
            done
            _lm360rctl_words "$left"
            compopt -o nospace 2>/dev/null || true
            ;;
        save-commands) ((count == 0)) && _lm360rctl_words "power print" ;;
        inspect | send) ((count == 0)) && _lm360rctl_files ;;
    esac
    return 0
}

complete -F _lm360rctl lm360rctl
