#pragma once

#include "platform/ui/PrinterList.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDialog;
class QLabel;
class QPushButton;

namespace Ui {
class PrinterSelect;
}

// Asks the user which installed queue of the target printer to use. With none installed it says so
// and quits the application; with one it takes that one without asking; with several it shows a
// modal dialog. Callers run openPrinterSelect() and then read selectPrinter().
class Vexo_PrinterSelect : public QObject {
    Q_OBJECT

  public:
    using PrinterSource = std::function<platform::InstalledPrinters()>;
    using QuitApplication = std::function<void()>;

    // The instance of this process, created on first use; it is deleted while the application
    // object is torn down, before the window system goes away.
    static Vexo_PrinterSelect& sharedVexo_PrinterSelect();

    // Empty arguments mean the print system's queues and quitting the QApplication.
    explicit Vexo_PrinterSelect(PrinterSource installedPrinters = {}, QuitApplication quit = {});
    ~Vexo_PrinterSelect() override;
    Vexo_PrinterSelect(const Vexo_PrinterSelect&) = delete;
    Vexo_PrinterSelect& operator=(const Vexo_PrinterSelect&) = delete;

    // The names of the installed queues of the target printer, in the platform's order.
    QStringList getPrinterList() const;

    // Titles the dialog, refills the list and presets the choice to its first entry; returns the
    // number of entries.
    int setControlTitle();

    void openPrinterSelect();
    void closePrinterSelect();

    // The chosen queue's name; nullopt until there is a choice, and after a cancel.
    const std::optional<QString>& selectPrinter() const { return selectPrinter_; }

    // Outlets of the dialog, owned by printerSelectWindow.
    QDialog* printerSelectWindow = nullptr;
    QLabel* text = nullptr;
    QComboBox* popup = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  public slots:
    // Action of the OK and cancel buttons; any other sender is ignored.
    void printerSelectActions(QObject* sender);

  private:
    std::optional<QString> SelectedEntry() const;

    PrinterSource installedPrinters_;
    QuitApplication quit_;
    std::unique_ptr<Ui::PrinterSelect> ui_;
    std::unique_ptr<QDialog> window_;
    std::optional<QString> selectPrinter_;
};
