// lm360r-settings: the desktop application.
#include "app/Vexo_MainController.h"
#include "platform/ui/Localized.h"
#include "platform/ui/Translations.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lm360r-settings"));
    QGuiApplication::setDesktopFileName(QStringLiteral(LM360R_APP_ID));
    platform::InstallTranslators(app);
    QApplication::setApplicationDisplayName(platform::Localized("MainWindowTitle"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LM360R_APP_ID)));

    Vexo_MainController controller;
    controller.applicationDidFinishLaunching();
    return QApplication::exec();
}
