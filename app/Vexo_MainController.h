#pragma once

#include "app/ControllerServices.h"
#include "app/Vexo_OutPutFile.h"
#include "protocol/CommandFile.h"
#include "protocol/SettingKind.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QComboBox;
class QMainWindow;
class QPushButton;

namespace Ui {
class MainWindow;
}

namespace platform {
class UsbBus;
}

// The application's one controller: builds the main window, wires the settings object, the
// command-file builder and the progress panel to it, reads the printer at launch, turns every
// button press into one exchange or the command-file save, and ends the application with its window.
class Vexo_MainController : public QObject {
  public:
    // The application: the shared progress panel and CUsbCom on `bus` (borrowed, must outlive the
    // controller).
    explicit Vexo_MainController(platform::UsbBus& bus);
    // `panel` is borrowed and must outlive the controller; `makeExchange` creates the settings object.
    Vexo_MainController(ProgressPanel& panel, const ExchangeFactory& makeExchange);
    ~Vexo_MainController() override;
    Vexo_MainController(const Vexo_MainController&) = delete;
    Vexo_MainController& operator=(const Vexo_MainController&) = delete;

    QMainWindow* window() const { return mainWindow.get(); }

    // Every text of the window and its menus, and the four visible choice lists. May run again:
    // the lists are rebuilt from empty (their selections are lost).
    void setControlsTitle();

    // The quiet first reading of every setting, then the window centred and in front.
    void applicationDidFinishLaunching();
    // Gives back the panel and releases the settings object; nothing reaches the printer afterwards.
    void applicationWillTerminate();
    void windowWillClose();

    // Button actions; `sender` is the button pressed. Anything else as sender does nothing.
    void powerOnAction(QObject* sender);
    void autoPowerOffAction(QObject* sender);
    void netWorkSettingAction(QObject* sender);
    void infoPrintAction(QObject* sender);
    void commandSettingAction(QObject* sender);
    void otherAction(QObject* sender);
    void openAboutPanel();
    void comboBoxSelectionDidChange(QComboBox* sender);

    // A modal alert titled by `titleKey`'s text with an OK button and, when `secondKey` is given, a
    // second button. 1 for OK, 0 for the second button.
    int mRunAlertPanel_Con(const char* titleKey, const char* secondKey);

    // Whether the first argument after the program names the target printer ("Tamblor LM-360R"
    // exactly); then `name` holds that name, otherwise it is reset. Nothing calls it at run time.
    bool isPrinterName(std::optional<QString>& name) const;
    static bool isPrinterName(const QStringList& arguments, std::optional<QString>& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void awakeFromNib(ProgressPanel& panel, const ExchangeFactory& makeExchange);
    void selectStartingChoices();
    void settingAction(QObject* sender, const QPushButton* readButton, const QPushButton* applyButton,
                       protocol::SettingKind kind);
    void saveCommandFile(protocol::CommandGroup group);
    void connectActions();
    void terminate();
    SettingWidgets settingWidgets() const;

    // Declared so that what borrows the window's widgets goes before the window.
    std::unique_ptr<QMainWindow> mainWindow;
    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<Vexo_OutPutFile> Vexo_OutPutFile_con;
    std::unique_ptr<SettingsExchange> cusbCom_con;
    ProgressPanel* progress_con = nullptr; // the shared panel, borrowed
    std::optional<QString> ptinterName;    // printer-name slot; kept empty
};
