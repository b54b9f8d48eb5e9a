#include "app/CommandLineOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

std::optional<int> AnswerOnTerminal(int& argc, char** argv) {
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lm360r-settings"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LM360R_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads and changes the settings of a Tamblor LM-360R label printer over USB, in a window.\n"
        "LM360R_USB=simulated uses a simulated printer instead of the USB bus."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options (-platform, -style) are single-dash words; read as short options, -reverse
    // would look like -v. They are left for QApplication.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    static_cast<void>(parser.parse(QCoreApplication::arguments()));
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}
