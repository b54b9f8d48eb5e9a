#include "cli/CommandLine.h"

#include "cli/CommandGroups.h"
#include "cli/Commands.h"
#include "cli/DesiredState.h"
#include "cli/Output.h"
#include "cli/SettingWords.h"
#include "platform/core/Localized.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"
#include "usb/BusChoice.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace cli {
namespace {

using protocol::SettingKind;

constexpr int kMaxWaitSeconds = 3600;

// The starting choice of each setting the user can choose.
QString StartingChoices() {
    QStringList choices;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (setting.Offered()) {
            const auto first = static_cast<std::size_t>(setting.firstChoice);
            choices << platform::FromUtf8(setting.key) + QLatin1Char(' ') +
                           platform::FromUtf8(setting.List()[first].word);
        }
    }
    return choices.join(QStringLiteral(", "));
}

// "Settings:" and a line for each: its name, the values it takes, and what it does.
QString SettingsSection() {
    QString text = QStringLiteral("\n\nSettings:");
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        const QString values = setting.Offered() ? ValueWords(setting) : QStringLiteral("read-only");
        text += QStringLiteral("\n  %1 %2\n      %3")
                    .arg(platform::FromUtf8(setting.key), -15)
                    .arg(values, SettingHelp(setting));
    }
    return text;
}

QString Description(const CommandSpec& command) {
    QString text = QLatin1String(command.description);
    if (command.command == Command::SaveCommands) {
        text = text.arg(GroupSettings(protocol::kPowerGroup), GroupSettings(protocol::kPrintGroup),
                        StartingChoices());
    }
    return command.listsSettings ? text + SettingsSection() : text;
}

// Our own help and version options: QCommandLineParser's would also offer Qt's own options, which
// this program does not take.
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Show this help and exit."));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Show the version and exit."));
const QCommandLineOption kSerial(QStringLiteral("serial"),
                                 QStringLiteral("Use only the printer with serial number S."),
                                 QStringLiteral("S"));
const QCommandLineOption kWait(QStringLiteral("wait"),
                               QStringLiteral("Wait up to SECONDS for a printer in use by another program "
                                              "(default %1).")
                                   .arg(std::chrono::duration<double>(BusOptions{}.libusb.inUseWait).count()),
                               QStringLiteral("SECONDS"));
const QCommandLineOption kJson(QStringLiteral("json"),
                               QStringLiteral("Print one JSON document instead of text."));
const QCommandLineOption kAll(QStringLiteral("all"),
                              QStringLiteral("Work on every LM-360R attached, one after the other."));
const QCommandLineOption kCheck(QStringLiteral("check"),
                                QStringLiteral("Say what would change, and write nothing."));
const QCommandLineOption
    kFrom(QStringLiteral("from"),
          QStringLiteral("Take the settings wanted from FILE (\"-\": standard input): a command file, or "
                         "the document get --json prints."),
          QStringLiteral("FILE"));
const QCommandLineOption kYes({QStringLiteral("y"), QStringLiteral("yes")},
                              QStringLiteral("Reset without asking for confirmation."));
const QCommandLineOption
    kOutput({QStringLiteral("o"), QStringLiteral("output")},
            QStringLiteral("Write the command file to FILE (\".bin\" is added when missing); \"-\" writes it "
                           "to standard output."),
            QStringLiteral("FILE"));

QCommandLineOption SettingOption(SettingKind kind) {
    return QCommandLineOption(SettingName(kind),
                              QStringLiteral("Value of %1: %2.").arg(SettingName(kind), ValuesOf(kind)),
                              QStringLiteral("VALUE"));
}

// The program's own options (help and version); the options of one command; or, for the first pass,
// every command's options, so that their values are not taken for the command word.
enum class OptionSet { Program, All, Command };

void AddOptions(QCommandLineParser& parser, OptionSet set, const CommandSpec* command = nullptr) {
    parser.addOption(kHelp);
    if (set == OptionSet::Program) {
        parser.addOption(kVersion);
        return;
    }
    const bool all = set == OptionSet::All;
    if (all) {
        parser.addOption(kVersion);
    }
    parser.addOption(kJson);
    if (all || command->talksToPrinter) {
        parser.addOption(kSerial);
        parser.addOption(kWait);
    }
    if (all || command->everyPrinter) {
        parser.addOption(kAll);
    }
    if (all || command->command == Command::Apply) {
        parser.addOption(kCheck);
        parser.addOption(kFrom);
    }
    if (all || command->command == Command::Reset) {
        parser.addOption(kYes);
    }
    if (all || command->command == Command::SaveCommands) {
        // Every setting the user can choose has an option of its own name.
        for (const protocol::SettingRow& setting : protocol::Settings()) {
            if (setting.Offered()) {
                parser.addOption(SettingOption(setting.kind));
            }
        }
        parser.addOption(kOutput);
    }
}

QString GeneralDescription() {
    QString text = QStringLiteral(
        "Reads and changes the settings of a Tamblor LM-360R label printer over USB.\n\nCommands:\n");
    for (const CommandSpec& c : Commands()) {
        text += QStringLiteral("  %1%2\n").arg(QLatin1String(c.syntax), -36).arg(QLatin1String(c.summary));
    }
    text += QStringLiteral("\nRun \"lm360rctl COMMAND --help\" for a command's own options.\n"
                           "Exit status: 0 success, 1 usage, 2 no printer found, 3 link failure,\n"
                           "4 the printer answered a different value, 5 invalid command file or\n"
                           "settings document, 6 a file could not be read or written. With --all, the\n"
                           "worst of the printers' statuses: 3, then 2, then 4 (see man lm360rctl).");
    return text;
}

ParsedCommandLine Usage(const QString& message) {
    ParsedCommandLine parsed;
    parsed.outcome = ParsedCommandLine::Outcome::UsageError;
    parsed.text = message;
    return parsed;
}

// Qt names the program by the path it was started with; the help names it as users type it.
ParsedCommandLine Help(QString text, const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        text.replace(QStringLiteral("Usage: ") + arguments.first(), QStringLiteral("Usage: lm360rctl"));
    }
    ParsedCommandLine parsed;
    parsed.outcome = ParsedCommandLine::Outcome::Help;
    parsed.text = text;
    return parsed;
}

std::optional<QString> CheckCount(const QStringList& words, qsizetype wanted, const CommandSpec& command) {
    if (words.size() == wanted) {
        return std::nullopt;
    }
    return QStringLiteral("%1 expects: %2").arg(QLatin1String(command.name), QLatin1String(command.syntax));
}

std::optional<QString> ReadSettings(const QStringList& words, Invocation& invocation) {
    for (const QString& word : words) {
        const protocol::SettingRow* setting = nullptr;
        if (auto error = ReadSettingName(word, setting)) {
            return error;
        }
        invocation.kinds.push_back(setting->kind);
    }
    if (invocation.kinds.empty()) {
        for (const protocol::SettingRow& setting : protocol::Settings()) {
            invocation.kinds.push_back(setting.kind);
        }
    }
    return std::nullopt;
}

std::optional<QString> ReadSet(const QStringList& words, Invocation& invocation) {
    ChosenValue choice;
    if (auto error = ReadChosenValue(words[0], words[1], choice)) {
        return error;
    }
    invocation.kinds = {choice.kind};
    invocation.index = choice.index;
    return std::nullopt;
}

std::optional<QString> ReadApply(const QCommandLineParser& parser, const QStringList& words,
                                 Invocation& invocation) {
    if (auto error = ReadAssignments(words, invocation.choices)) {
        return error;
    }
    invocation.check = parser.isSet(kCheck);
    if (parser.isSet(kFrom)) {
        invocation.file = parser.value(kFrom);
        if (invocation.file.isEmpty()) {
            return QStringLiteral("--from needs a file name (or - for standard input)");
        }
    } else if (invocation.choices.empty()) {
        return QStringLiteral("apply needs the settings wanted: SETTING=VALUE, or --from FILE");
    }
    return std::nullopt;
}

std::optional<QString> ReadSaveCommands(const QCommandLineParser& parser, const QStringList& words,
                                        Invocation& invocation) {
    const GroupWord* group = FindGroup(words[0]);
    if (group == nullptr) {
        return QStringLiteral("unknown group \"%1\" (power or print)").arg(words[0]);
    }
    invocation.group = group->group;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (!setting.Offered()) {
            continue;
        }
        int& selection = invocation.selections[setting.kind];
        selection = setting.firstChoice;
        const QString name = platform::FromUtf8(setting.key);
        if (!parser.isSet(name)) {
            continue;
        }
        if (protocol::TabOfGroup(group->group) != setting.tab) {
            return QStringLiteral("--%1 is not part of the %2 group").arg(name, words[0]);
        }
        if (auto error = ReadValueWord(setting.kind, parser.value(name), selection)) {
            return error;
        }
    }
    if (!parser.isSet(kOutput) || parser.value(kOutput).isEmpty()) {
        return QStringLiteral("save-commands needs -o FILE (or -o - for standard output)");
    }
    const QString output = parser.value(kOutput);
    if (output == QLatin1String("-") && parser.isSet(kJson)) {
        return QStringLiteral("--json and -o - would both write to standard output");
    }
    invocation.file = OutputPath(output);
    return std::nullopt;
}

std::optional<QString> ReadWords(const QCommandLineParser& parser, const CommandSpec& command,
                                 QStringList words, Invocation& invocation) {
    switch (command.command) {
    case Command::List:
    case Command::Reset:
    case Command::Status:
        return CheckCount(words, 0, command);
    case Command::Get:
        return ReadSettings(words, invocation);
    case Command::Set:
        if (auto error = CheckCount(words, 2, command)) {
            return error;
        }
        return ReadSet(words, invocation);
    case Command::SaveCommands:
        if (auto error = CheckCount(words, 1, command)) {
            return error;
        }
        return ReadSaveCommands(parser, words, invocation);
    case Command::Inspect:
    case Command::Send:
        if (auto error = CheckCount(words, 1, command)) {
            return error;
        }
        invocation.file = words[0];
        return std::nullopt;
    case Command::Apply:
        return ReadApply(parser, words, invocation);
    }
    return std::nullopt;
}

} // namespace

QString OutputPath(const QString& output) {
    // Standard output and folders keep their names: the first is written as it is, the second refused.
    if (output == QLatin1String("-") || output.endsWith(QLatin1Char('/')) || QFileInfo(output).isDir()) {
        return output;
    }
    return WithCommandFileExtension(output);
}

QString WithCommandFileExtension(const QString& path) {
    const QString suffix =
        QLatin1Char('.') + QLatin1String(protocol::kCommandFileExtension.data(),
                                         static_cast<qsizetype>(protocol::kCommandFileExtension.size()));
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    // First pass, knowing every option, only to find the command word.
    QCommandLineParser any;
    AddOptions(any, OptionSet::All);
    if (!any.parse(arguments)) {
        return Usage(any.errorText());
    }
    const QStringList words = any.positionalArguments();
    if (words.isEmpty()) {
        if (any.isSet(kHelp)) {
            QCommandLineParser general;
            AddOptions(general, OptionSet::Program);
            general.setApplicationDescription(GeneralDescription());
            general.addPositionalArgument(QStringLiteral("command"),
                                          QStringLiteral("What to do; see the list above."),
                                          QStringLiteral("COMMAND [ARGUMENTS...]"));
            return Help(general.helpText(), arguments);
        }
        if (any.isSet(kVersion)) {
            ParsedCommandLine parsed;
            parsed.outcome = ParsedCommandLine::Outcome::Version;
            return parsed;
        }
        return Usage(QStringLiteral("no command given (see lm360rctl --help)"));
    }
    const CommandSpec* command = CommandNamed(words[0]);
    if (command == nullptr) {
        return Usage(QStringLiteral("unknown command \"%1\" (see lm360rctl --help)").arg(words[0]));
    }

    // Second pass with the command's own options, so that an option of another command is refused.
    QCommandLineParser parser;
    AddOptions(parser, OptionSet::Command, command);
    parser.setApplicationDescription(Description(*command));
    parser.addPositionalArgument(QLatin1String(command->name), QStringLiteral("The command."),
                                 QLatin1String(command->syntax));
    if (!parser.parse(arguments)) {
        return Usage(parser.errorText());
    }
    if (parser.isSet(kHelp)) {
        return Help(parser.helpText(), arguments);
    }
    ParsedCommandLine parsed;
    parsed.outcome = ParsedCommandLine::Outcome::Run;
    Invocation& invocation = parsed.invocation;
    invocation.command = command->command;
    invocation.serial = command->talksToPrinter ? parser.value(kSerial) : QString();
    invocation.all = command->everyPrinter && parser.isSet(kAll);
    if (invocation.all && parser.isSet(kSerial)) {
        return Usage(QStringLiteral("--all and --serial cannot be combined: --all takes every LM-360R "
                                    "attached, --serial one of them"));
    }
    invocation.json = parser.isSet(kJson);
    invocation.yes = command->command == Command::Reset && parser.isSet(kYes);
    if (command->talksToPrinter && parser.isSet(kWait)) {
        bool number = false;
        const double seconds = parser.value(kWait).toDouble(&number);
        // toDouble() also takes "nan" and "inf"; the comparisons below would let NaN through.
        if (!number || !std::isfinite(seconds) || seconds < 0 || seconds > kMaxWaitSeconds) {
            return Usage(QStringLiteral("--wait takes a number of seconds from 0 to %1, such as 0.5 or 10")
                             .arg(kMaxWaitSeconds));
        }
        invocation.waitMilliseconds = static_cast<int>(std::lround(seconds * 1000));
    }
    if (auto error = ReadWords(parser, *command, parser.positionalArguments().mid(1), invocation)) {
        return Usage(*error);
    }
    return parsed;
}

} // namespace cli
