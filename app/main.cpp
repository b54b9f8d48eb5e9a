// lm360r-settings: the desktop application.
#include "app/Vexo_MainController.h"
#include "backend/BusChoice.h"
#include "platform/core/Localized.h"
#include "platform/core/Translations.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lm360r-settings"));
    QGuiApplication::setDesktopFileName(QStringLiteral(LM360R_APP_ID));
    platform::InstallTranslators(app);
    QApplication::setApplicationDisplayName(platform::Localized("MainWindowTitle"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LM360R_APP_ID)));

    const std::unique_ptr<platform::UsbBus> bus = backend::ChooseUsbBus();
    Vexo_MainController controller(*bus);
    controller.applicationDidFinishLaunching();
    return QApplication::exec();
}
