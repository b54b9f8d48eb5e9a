// lm360r-settings: the desktop application.
#include "app/Vexo_MainController.h"
#include "platform/ui/Localized.h"
#include "platform/ui/Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <optional>

namespace {

const QString kProgram = QStringLiteral("lm360r-settings");

void DescribeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Reads and changes the settings of a Tamblor LM-360R label printer over USB."));
    parser.addHelpOption();
    parser.addVersionOption();
    // Qt's own options are single-dash words (-platform, -style); read as short options, -reverse
    // would turn into -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

// --help and --version are answered before a window system is opened, so that they also work over
// ssh and where there is no display. Qt's own options are still in the list here; the rest of the
// command line is checked once QApplication has taken them.
std::optional<int> AnswerWithoutWindow(int& argc, char** argv) {
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    DescribeOptions(parser);
    static_cast<void>(parser.parse(QCoreApplication::arguments()));
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // Qt names the program by the path it was started with; the help names it as users type it.
        QString text = parser.helpText();
        text.replace(QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst(),
                     QStringLiteral("Usage: ") + kProgram);
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(kProgram), LM360R_VERSION);
        return 0;
    }
    return std::nullopt;
}

// What is left after QApplication took its own options must be ours.
bool CheckOptions() {
    QCommandLineParser parser;
    DescribeOptions(parser);
    if (parser.parse(QCoreApplication::arguments())) {
        return true;
    }
    std::fprintf(stderr, "%s: %s (see %s --help)\n", qPrintable(kProgram), qPrintable(parser.errorText()),
                 qPrintable(kProgram));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(kProgram);
    QCoreApplication::setApplicationVersion(QStringLiteral(LM360R_VERSION));
    if (const std::optional<int> answered = AnswerWithoutWindow(argc, argv)) {
        return *answered;
    }
    QApplication app(argc, argv);
    if (!CheckOptions()) {
        return 1;
    }
    QGuiApplication::setDesktopFileName(QStringLiteral(LM360R_APP_ID));
    platform::InstallTranslators(app);
    QApplication::setApplicationDisplayName(platform::Localized("MainWindowTitle"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LM360R_APP_ID)));

    Vexo_MainController controller;
    controller.applicationDidFinishLaunching();
    return QApplication::exec();
}
