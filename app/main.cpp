// lm360r-settings: the desktop application.
#include "app/CommandLineOptions.h"
#include "app/Vexo_MainController.h"
#include "platform/core/Localized.h"
#include "platform/core/Translations.h"
#include "usb/BusChoice.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char** argv) {
    if (const std::optional<int> answered = AnswerOnTerminal(argc, argv)) {
        return *answered;
    }
    QApplication app(argc, argv);
    if (!OnlyKnownOptionsLeft()) {
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("lm360r-settings"));
    QApplication::setApplicationVersion(QStringLiteral(LM360R_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(LM360R_APP_ID));
    platform::InstallTranslators(app);
    QApplication::setApplicationDisplayName(platform::Localized("MainWindowTitle"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LM360R_APP_ID)));

    const std::unique_ptr<platform::UsbBus> bus = ChooseUsbBus();
    Vexo_MainController controller(*bus);
    controller.openAfterLaunch(CommandFileArgument());
    // From inside the event loop, so that closing the window while the printer is read ends the
    // application.
    QTimer::singleShot(0, &controller, [&controller] { controller.applicationDidFinishLaunching(); });
    return QApplication::exec();
}
