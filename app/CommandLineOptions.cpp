#include "app/CommandLineOptions.h"

#include "protocol/PrinterModel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

const QString kProgram = QStringLiteral("lm360r-settings");

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
};

Options Describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Reads and changes the settings of a Tamblor LM-360R label printer over USB, in a window.\n"
        "LM360R_USB=simulated uses a simulated printer instead of the USB bus."));
    Options options{parser.addHelpOption(), parser.addVersionOption()};
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A command file to open: its values are chosen in the window."),
        QStringLiteral("[FILE]"));
    // Qt's own options (-platform, -style) are single-dash words; read as short options, -reverse
    // would look like -v. They are left for QApplication.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    return options;
}

} // namespace

std::optional<int> AnswerOnTerminal(int& argc, char** argv) {
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    QCoreApplication::setApplicationVersion(QStringLiteral(LM360R_VERSION));
    QCommandLineParser parser;
    const Options options = Describe(parser);
    static_cast<void>(parser.parse(QCoreApplication::arguments()));
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        // Qt names the program by the path it was started with; the help names it as users type it.
        QString text = parser.helpText();
        text.replace(QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst(),
                     QStringLiteral("Usage: ") + kProgram);
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(options.version)) {
        std::printf("%s %s\n", qPrintable(kProgram), qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}

bool OnlyKnownOptionsLeft() {
    QCommandLineParser parser;
    Describe(parser);
    if (parser.parse(QCoreApplication::arguments())) {
        return true;
    }
    std::fprintf(stderr, "%s: %s (see %s --help)\n", qPrintable(kProgram), qPrintable(parser.errorText()),
                 qPrintable(kProgram));
    return false;
}

QString CommandFileArgument() {
    QCommandLineParser parser;
    Describe(parser);
    parser.parse(QCoreApplication::arguments());
    const QString first = parser.positionalArguments().value(0);
    // The printer's own name there names the printer, as the application always took it.
    return first == QString::fromStdString(protocol::TargetPrinterName()) ? QString() : first;
}
