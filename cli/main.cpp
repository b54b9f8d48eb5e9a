#include "cli/Run.h"
#include "platform/core/Translations.h"
#include "usb/BusChoice.h"

#include <QCoreApplication>
#include <QLocale>
#include <csignal>

int main(int argc, char** argv) {
    // A write over the file-size limit must come back as an error to report, not end the process
    // half-way through a command file.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lm360rctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LM360R_VERSION));
    // Scripts parse the output: it is the application's English whatever the user's language.
    platform::InstallTranslators(app, QLocale(QLocale::English));
    const int status = cli::Run(QCoreApplication::arguments(), ChooseUsbBus);
    std::fflush(stdout);
    return status;
}
