# fish completion for lm360rctl. The commands, the settings and their values come from the program
# itself ("lm360rctl __complete"), so they are always the ones it takes.

# Asks the program being completed: "WORD<TAB>DESCRIPTION" a line, as fish shows candidates.
function __lm360rctl_ask
    set -l program (commandline -opc)[1]
    test -n "$program"; or set program lm360rctl
    command $program __complete $argv 2>/dev/null
end

function __lm360rctl_ask_words
    __lm360rctl_ask $argv | string replace -r '\t.*' ''
end

# The words after the program that are not options or option values: the command, then its
# arguments.
function __lm360rctl_words
    set -l words (commandline -opc)[2..-1]
    # save-commands takes a value after each setting's own option
    set -l valued --serial --wait -o --output --from (__lm360rctl_ask_words group-options)
    set -l skip 0
    for word in $words
        if test $skip -eq 1
            set skip 0
            continue
        end
        if contains -- $word $valued
            set skip 1
            continue
        end
        switch $word
            case '-*'
            case '*'
                echo $word
        end
    end
end

function __lm360rctl_needs_command
    test (count (__lm360rctl_words)) -eq 0
end

# True when the command is one of the arguments and it has exactly `count` arguments so far.
function __lm360rctl_at --argument-names count
    set -l words (__lm360rctl_words)
    contains -- "$words[1]" $argv[2..-1]; and test (count $words) -eq (math $count + 1)
end

function __lm360rctl_command_is
    set -l words (__lm360rctl_words)
    contains -- "$words[1]" $argv
end

# Whether the command on the line takes the options of a kind: --serial and --wait ("printer"), --all
# ("every"), as the program says.
function __lm360rctl_command_takes
    set -l words (__lm360rctl_words)
    contains -- "$words[1]" (__lm360rctl_ask_words commands $argv[1])
end

# The values of the setting "set" was given.
function __lm360rctl_set_values
    __lm360rctl_ask values (__lm360rctl_words)[2]
end

# The settings "get" has not been given yet.
function __lm360rctl_settings_left
    set -l words (__lm360rctl_words)
    for setting in (__lm360rctl_ask settings)
        contains -- (string replace -r '\t.*' '' -- $setting) $words[2..-1]; or echo $setting
    end
end

# A setting's option of save-commands belongs to the group named on the line (to either without one).
function __lm360rctl_in_group --argument-names option
    set -l words (__lm360rctl_words)
    test "$words[1]" = save-commands; or return 1
    contains -- --$option (__lm360rctl_ask_words group-options $words[2])
end

# apply's SETTING=VALUE words: the settings not given yet, or the values of the one being typed.
function __lm360rctl_assignments
    set -l token (commandline -ct)
    set -l given (__lm360rctl_words)[2..-1]
    set -l settings (__lm360rctl_ask_words writable)
    for setting in $settings
        if string match -q -- "$setting=*" $token
            __lm360rctl_ask values $setting | string replace -r '^' "$setting="
            return
        end
    end
    for setting in $settings
        string match -q -- "$setting=*" $given; or echo $setting=
    end
end


complete -c lm360rctl -f

complete -c lm360rctl -n __lm360rctl_needs_command -s h -l help -d 'Show the help'
complete -c lm360rctl -n __lm360rctl_needs_command -s v -l version -d 'Show the version'
complete -c lm360rctl -n __lm360rctl_needs_command -a '(__lm360rctl_ask commands)'

complete -c lm360rctl -n 'not __lm360rctl_needs_command' -s h -l help -d 'Show the help of the command'
complete -c lm360rctl -n 'not __lm360rctl_needs_command' -l json -d 'Print one JSON document instead of text'
complete -c lm360rctl -n '__lm360rctl_command_takes printer' -l serial -x -d 'Use only the printer with this serial number'
complete -c lm360rctl -n '__lm360rctl_command_takes printer' -l wait -x -d 'Wait up to SECONDS for the printer'
complete -c lm360rctl -n '__lm360rctl_command_takes every' -l all -d 'Every LM-360R attached, one after the other'
complete -c lm360rctl -n '__lm360rctl_command_is reset' -s y -l yes -d 'Reset without asking for confirmation'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -l check -d 'Say what would change, and write nothing'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -l from -r -F -d 'Take the settings wanted from a command file or get --json'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -a '(__lm360rctl_assignments)'

complete -c lm360rctl -n '__lm360rctl_command_is get' -a '(__lm360rctl_settings_left)'

complete -c lm360rctl -n '__lm360rctl_at 0 set' -a '(__lm360rctl_ask writable)'
complete -c lm360rctl -n '__lm360rctl_at 1 set' -a '(__lm360rctl_set_values)'

complete -c lm360rctl -n '__lm360rctl_at 0 save-commands' -a '(__lm360rctl_ask groups)'
# An option for every setting the program offers, asked once when this file is loaded.
for line in (__lm360rctl_ask group-options)
    set -l option (string replace -r '\t.*' '' -- $line | string replace -- -- '')
    set -l description (string replace -r '^[^\t]*\t' '' -- $line)
    complete -c lm360rctl -n "__lm360rctl_in_group $option" -l $option -x -a "(__lm360rctl_ask values $option)" -d $description
end
complete -c lm360rctl -n '__lm360rctl_command_is save-commands' -s o -l output -r -F -d 'Where to write the command file'

complete -c lm360rctl -n '__lm360rctl_at 0 inspect send' -F
