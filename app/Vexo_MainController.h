#pragma once

#include "app/ConnectionView.h"
#include "app/ControllerServices.h"
#include "app/SettingBoxes.h"
#include "app/Vexo_OutPutFile.h"
#include "platform/ui/Dialogs.h"
#include "protocol/CommandFile.h"
#include "protocol/SettingKind.h"
#include "usb/ConnectionState.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QMainWindow;
class QPushButton;
class QTimer;

namespace Ui {
class MainWindow;
}

namespace platform {
class UsbBus;
}

// The application's one controller: builds the main window, wires the settings object, the
// command-file builder and the progress panel to it, reads the printer at launch and whenever one is
// plugged in, says which printer it talks to (or why none), turns every button press into one
// exchange or the command-file save, and ends the application with its window.
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

    // Every text of the window and its menus, and the choice lists. May run again: the lists are
    // rebuilt from empty (their selections are lost).
    void setControlsTitle();

    // The window centred, in front and painted; then the printers are listed and every setting is
    // read quietly. The window stays painted meanwhile (exchanges run off the GUI thread).
    void applicationDidFinishLaunching();
    // Gives back the panel and releases the settings object; nothing reaches the printer afterwards.
    void applicationWillTerminate();
    void windowWillClose();

    // Button actions; `sender` is the button pressed, told apart by comparing it with the outlets.
    // Anything else as sender does nothing. settingAction serves every setting's read and apply buttons.
    void settingAction(QObject* sender);
    void otherAction(QObject* sender);
    void openAboutPanel();
    void comboBoxSelectionDidChange(QComboBox* sender);

    // The printer the window talks to, as the connection band shows it.
    const ConnectionState& connection() const { return connection_; }
    // USB devices arrived or left: the printers are listed again once the bus has settled.
    void devicesChanged();
    // The user chose the printer with this serial number among several.
    void choosePrinter(const QString& serial);

    // A saved command file: checked as lm360rctl inspect checks it; a good one's values are chosen in
    // their tab's lists (the printer is not touched), the fields whose printer value differs are
    // marked, and the tab's "Apply What Differs" button writes only those. A bad one gets an alert
    // saying what is wrong with it, and nothing changes.
    void openCommandFile(const QString& path);
    // The file to open once the launch reads are done (the command line's FILE).
    void openAfterLaunch(const QString& path) { fileToOpen_ = path; }

    // A modal alert stating `titleKey`'s text with an OK button and, when `secondKey` is given, a
    // second button. 1 for OK, 0 for the second button.
    int mRunAlertPanel_Con(const char* titleKey, const char* secondKey, const QString& informativeText = {},
                           platform::AlertIcon icon = platform::AlertIcon::Information);

    // Whether the first argument after the program names the target printer ("Tamblor LM-360R"
    // exactly); then `name` holds that name, otherwise it is reset. Nothing calls it at run time.
    bool isPrinterName(std::optional<QString>& name) const;
    static bool isPrinterName(const QStringList& arguments, std::optional<QString>& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void awakeFromNib(ProgressPanel& panel, const ExchangeFactory& makeExchange);
    void showWindow();
    void fitWrappedTexts();
    bool confirmReset();
    // Runs one call of the settings object; a listing asked for meanwhile follows it.
    void exchange(const std::function<void()>& call);
    void watchDevices();
    void refreshPrinters(bool launch);
    void readEveryKindQuietly();
    void targetChosenPrinter();
    void noteOutcome();
    void showConnection();
    const PrinterIdentity* printerInUse() const;
    void selectStartingChoices();
    void saveCommandFile(protocol::CommandGroup group);
    void chooseCommandFileToOpen();
    void showFileDifferences();
    void applyFileDifferences(protocol::SettingTab tab);
    bool acceptDroppedFile(QEvent* event);
    void connectActions();
    void terminate();
    SettingWidgets settingWidgets() const;

    // Declared so that what borrows the window's widgets goes before the window.
    std::unique_ptr<QMainWindow> mainWindow;
    std::unique_ptr<Ui::MainWindow> ui;
    std::vector<SettingBox> boxes_; // every setting's box, in table order; the widgets belong to the window
    std::unique_ptr<Vexo_OutPutFile> Vexo_OutPutFile_con;
    std::unique_ptr<SettingsExchange> cusbCom_con;
    ProgressPanel* progress_con = nullptr; // the shared panel, borrowed
    std::optional<QString> ptinterName;    // printer-name slot; kept empty

    // The printer: the LM-360R printers the bus showed last, the serial number talked to, and what
    // the latest exchange said about it.
    std::optional<ConnectionView> connectionView_;
    std::vector<PrinterIdentity> present_;
    std::optional<std::string> chosenSerial_;
    std::string targetSerial_; // as given to the settings object
    ConnectionState connection_;
    std::unique_ptr<QTimer> settleTimer_;
    std::unique_ptr<platform::UsbChangeSubscription> deviceWatch_; // ends before the timer it starts
    // The command file opened last, its values as the printer's replies carry them.
    struct OpenedFile {
        std::vector<DesiredValue> values;
    };
    std::optional<OpenedFile> openedFile_;
    QString fileToOpen_;
    bool exchanging_ = false;
    bool refreshPending_ = false;
    bool ending_ = false;
};
