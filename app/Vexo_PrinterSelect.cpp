#include "app/Vexo_PrinterSelect.h"

#include "app/PrinterSelectMatch.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "ui_PrinterSelect.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace {

Vexo_PrinterSelect* sharedInstance = nullptr;

// Widgets must go before the window system does; post routines run at the start of the
// application object's teardown.
void DeleteSharedInstance() {
    delete sharedInstance;
    sharedInstance = nullptr;
}

// Queued, so that a quit asked for before the event loop runs still ends it once it starts, and a
// quit asked for from inside a modal run ends the application's loop too.
void QuitQApplication() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

// The dialog ends through closePrinterSelect() with this result; anything else (Escape, the
// window's close button) is the user backing out.
constexpr int kClosedByButton = QDialog::Accepted;

} // namespace

Vexo_PrinterSelect& Vexo_PrinterSelect::sharedVexo_PrinterSelect() {
    if (sharedInstance == nullptr) {
        sharedInstance = new Vexo_PrinterSelect();
        qAddPostRoutine(DeleteSharedInstance);
    }
    return *sharedInstance;
}

Vexo_PrinterSelect::Vexo_PrinterSelect(PrinterSource installedPrinters, QuitApplication quit)
    : installedPrinters_(installedPrinters ? std::move(installedPrinters)
                                           : PrinterSource(platform::InstalledPrinterList)),
      quit_(quit ? std::move(quit) : QuitApplication(QuitQApplication)),
      ui_(std::make_unique<Ui::PrinterSelect>()), window_(std::make_unique<QDialog>()) {
    ui_->setupUi(window_.get());
    printerSelectWindow = window_.get();
    text = ui_->text;
    popup = ui_->popup;
    okButton = ui_->okButton;
    cancelButton = ui_->cancelButton;
    connect(okButton, &QPushButton::clicked, this, [this] { printerSelectActions(okButton); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { printerSelectActions(cancelButton); });
}

Vexo_PrinterSelect::~Vexo_PrinterSelect() = default;

QStringList Vexo_PrinterSelect::getPrinterList() const {
    const platform::InstalledPrinters printers = installedPrinters_();
    return MatchingPrinterNames(printers.names, printers.types);
}

int Vexo_PrinterSelect::setControlTitle() {
    printerSelectWindow->setWindowTitle(platform::Localized("MainWindowTitle"));
    okButton->setText(platform::Localized("OKButton"));
    cancelButton->setText(platform::Localized("CancelButton"));
    text->setText(platform::Localized("PrinterSelectionText"));

    popup->clear();
    const QStringList names = getPrinterList();
    popup->addItems(names);
    selectPrinter_ = SelectedEntry();
    return static_cast<int>(names.size());
}

void Vexo_PrinterSelect::openPrinterSelect() {
    const int count = setControlTitle();
    if (count == 0) {
        platform::AppDialogs().RunAlert({.icon = platform::AlertIcon::Warning,
                                         .text = platform::Localized("Err_AppPrinterDirverNotInstalled"),
                                         .acceptButton = platform::Localized("OKButton")});
        quit_();
        return;
    }
    if (count == 1) {
        return;
    }
    // The list has the keyboard, so arrow keys choose and Return confirms. Shown without a parent,
    // the dialog is centred on the screen, and as a modal window it comes up active and in front.
    popup->setFocus();
    if (printerSelectWindow->exec() != kClosedByButton) {
        selectPrinter_.reset();
        quit_();
    }
}

void Vexo_PrinterSelect::printerSelectActions(QObject* sender) {
    if (sender == nullptr) {
        return;
    }
    if (sender == okButton) {
        selectPrinter_ = SelectedEntry();
        closePrinterSelect();
    } else if (sender == cancelButton) {
        selectPrinter_.reset();
        closePrinterSelect();
        quit_();
    }
}

void Vexo_PrinterSelect::closePrinterSelect() {
    printerSelectWindow->done(kClosedByButton);
}

std::optional<QString> Vexo_PrinterSelect::SelectedEntry() const {
    if (popup->currentIndex() < 0) {
        return std::nullopt;
    }
    return popup->currentText();
}
