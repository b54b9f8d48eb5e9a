# fish completion for lm360rctl.

# The words after the program that are not options or option values: the command, then its
# arguments.
function __lm360rctl_words
    set -l words (commandline -opc)[2..-1]
    set -l skip 0
    for word in $words
        if test $skip -eq 1
            set skip 0
            continue
        end
        switch $word
            case --serial --wait -o --output --from --power-on --auto-power-off --network --info-print
                set skip 1
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

function __lm360rctl_set_setting_is --argument-names setting
    set -l words (__lm360rctl_words)
    test "$words[1]" = set; and test "$words[2]" = $setting; and test (count $words) -eq 2
end

function __lm360rctl_group_is --argument-names group
    set -l words (__lm360rctl_words)
    test "$words[1]" = save-commands; and test "$words[2]" = $group
end

# The settings "get" has not been given yet.
function __lm360rctl_settings_left
    set -l words (__lm360rctl_words)
    for setting in power-on auto-power-off network info-print command-mode
        contains -- $setting $words[2..-1]; or echo $setting
    end
end

# apply's SETTING=VALUE words: the settings not given yet, or the values of the one being typed.
function __lm360rctl_assignments
    set -l token (commandline -ct)
    set -l given (__lm360rctl_words)[2..-1]
    set -l settings power-on auto-power-off network info-print
    for setting in $settings
        if string match -q -- "$setting=*" $token
            switch $setting
                case power-on
                    printf '%s\n' $setting=off $setting=on
                case auto-power-off
                    printf "$setting=%s\tminutes\n" 0 10 20 30 40 50 60
                case '*'
                    printf '%s\n' $setting=1 $setting=2 $setting=3
            end
            return
        end
    end
    for setting in $settings
        string match -q -- "$setting=*" $given; or echo $setting=
    end
end

set -l printer_commands list get set reset status send apply
set -l every_printer_commands get set reset send apply

complete -c lm360rctl -f

complete -c lm360rctl -n __lm360rctl_needs_command -s h -l help -d 'Show the help'
complete -c lm360rctl -n __lm360rctl_needs_command -s v -l version -d 'Show the version'
complete -c lm360rctl -n __lm360rctl_needs_command -a list -d 'List printer interfaces and which one is the target'
complete -c lm360rctl -n __lm360rctl_needs_command -a get -d 'Read settings'
complete -c lm360rctl -n __lm360rctl_needs_command -a set -d "Write a setting and check the printer's answer"
complete -c lm360rctl -n __lm360rctl_needs_command -a reset -d "Reset the printer's settings"
complete -c lm360rctl -n __lm360rctl_needs_command -a status -d "Print the printer's status reply"
complete -c lm360rctl -n __lm360rctl_needs_command -a save-commands -d 'Save a command file'
complete -c lm360rctl -n __lm360rctl_needs_command -a inspect -d 'Check a command file'
complete -c lm360rctl -n __lm360rctl_needs_command -a send -d 'Send a command file to the printer'
complete -c lm360rctl -n __lm360rctl_needs_command -a apply -d 'Write only the settings that differ from the ones wanted'

complete -c lm360rctl -n 'not __lm360rctl_needs_command' -s h -l help -d 'Show the help of the command'
complete -c lm360rctl -n 'not __lm360rctl_needs_command' -l json -d 'Print one JSON document instead of text'
complete -c lm360rctl -n "__lm360rctl_command_is $printer_commands" -l serial -x -d 'Use only the printer with this serial number'
complete -c lm360rctl -n "__lm360rctl_command_is $printer_commands" -l wait -x -d 'Wait up to SECONDS for the printer'
complete -c lm360rctl -n "__lm360rctl_command_is $every_printer_commands" -l all -d 'Every LM-360R attached, one after the other'
complete -c lm360rctl -n '__lm360rctl_command_is reset' -s y -l yes -d 'Reset without asking for confirmation'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -l check -d 'Say what would change, and write nothing'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -l from -r -F -d 'Take the settings wanted from a command file or get --json'
complete -c lm360rctl -n '__lm360rctl_command_is apply' -a '(__lm360rctl_assignments)'

complete -c lm360rctl -n '__lm360rctl_command_is get' -a '(__lm360rctl_settings_left)'

complete -c lm360rctl -n '__lm360rctl_at 0 set' -a 'power-on auto-power-off network info-print'
complete -c lm360rctl -n '__lm360rctl_set_setting_is power-on' -a 'off on'
complete -c lm360rctl -n '__lm360rctl_set_setting_is auto-power-off' -a '0 10 20 30 40 50 60' -d minutes
complete -c lm360rctl -n '__lm360rctl_set_setting_is network' -a '1 2 3'
complete -c lm360rctl -n '__lm360rctl_set_setting_is info-print' -a '1 2 3'

complete -c lm360rctl -n '__lm360rctl_at 0 save-commands' -a power -d 'power-on, auto power-off, network'
complete -c lm360rctl -n '__lm360rctl_at 0 save-commands' -a print -d 'information print'
complete -c lm360rctl -n '__lm360rctl_command_is save-commands; and not __lm360rctl_group_is print' -l power-on -x -a 'off on' -d 'Power-on behaviour'
complete -c lm360rctl -n '__lm360rctl_command_is save-commands; and not __lm360rctl_group_is print' -l auto-power-off -x -a '0 10 20 30 40 50 60' -d 'Auto power-off time in minutes'
complete -c lm360rctl -n '__lm360rctl_command_is save-commands; and not __lm360rctl_group_is print' -l network -x -a '1 2 3' -d 'Network setting'
complete -c lm360rctl -n '__lm360rctl_command_is save-commands; and not __lm360rctl_group_is power' -l info-print -x -a '1 2 3' -d 'Information print'
complete -c lm360rctl -n '__lm360rctl_command_is save-commands' -s o -l output -r -F -d 'Where to write the command file'

complete -c lm360rctl -n '__lm360rctl_at 0 inspect send' -F
