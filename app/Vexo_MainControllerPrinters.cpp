// Vexo_MainController: which printer the window talks to. The bus is listed at launch and whenever
// devices arrive or leave; a printer that arrives is read quietly, as at launch; every exchange's
// outcome says whether the printer is there, refused or busy, and the connection band shows it.
#include "app/Vexo_MainController.h"
#include "protocol/PrinterModel.h"
#include "protocol/SettingsTable.h"
#include "texts/ConnectionTexts.h"
#include "ui_MainWindow.h"

#include <QLineEdit>
#include <QTimer>

namespace {

constexpr std::int8_t kQuiet = 1;
// Devices come and go in bursts (a hub, re-enumeration), and the system grants access a moment after
// a device appears: the bus is listed once it has been quiet this long.
constexpr int kSettleMs = 300;

} // namespace

void Vexo_MainController::exchange(const std::function<void()>& call) {
    exchanging_ = true;
    call();
    exchanging_ = false;
    noteOutcome();
    if (openedFile_) {
        showFileDifferences();
    }
    if (refreshPending_ && !ending_ && settleTimer_ != nullptr) {
        refreshPending_ = false;
        settleTimer_->start();
    }
}

void Vexo_MainController::watchDevices() {
    settleTimer_ = std::make_unique<QTimer>();
    settleTimer_->setSingleShot(true);
    settleTimer_->setInterval(kSettleMs);
    connect(settleTimer_.get(), &QTimer::timeout, this, [this] { refreshPrinters(false); });
    if (cusbCom_con != nullptr) {
        // The bus calls from its own thread; the news is handled on this one.
        deviceWatch_ = cusbCom_con->WatchDeviceChanges([this] {
            QMetaObject::invokeMethod(
                this, [this] { devicesChanged(); }, Qt::QueuedConnection);
        });
    }
}

void Vexo_MainController::devicesChanged() {
    if (settleTimer_ != nullptr && !ending_) {
        settleTimer_->start(); // restarted by every change of a burst
    }
}

void Vexo_MainController::refreshPrinters(bool launch) {
    if (cusbCom_con == nullptr || ending_) {
        return;
    }
    if (exchanging_) {
        refreshPending_ = true; // the bus is busy; listed again once the exchange is over
        return;
    }
    PrinterListing listing;
    exchanging_ = true;
    listing = cusbCom_con->ListPrinters();
    exchanging_ = false;
    const std::optional<std::string> before = chosenSerial_;
    present_ = listing.ModelPrinters();
    chosenSerial_ = ChooseSerial(present_, chosenSerial_);

    QStringList serials;
    for (const PrinterIdentity& printer : present_) {
        serials << QString::fromStdString(printer.serial.value_or(std::string()));
    }
    connectionView_->ShowChoices(serials, QString::fromStdString(chosenSerial_.value_or(std::string())));

    // A printer that stayed keeps what it showed; one that arrived, or took the place of one that
    // left, is read as at launch.
    const bool sameConnectedPrinter = connection_.connection == Connection::Connected && chosenSerial_ &&
                                      (!before || before == chosenSerial_);
    if (launch || (!sameConnectedPrinter && (!present_.empty() || listing.ShowsRefusedPrinter()))) {
        targetChosenPrinter();
        readEveryKindQuietly();
    } else if (present_.empty()) {
        connection_ = {Connection::NoPrinter, 0};
    }
    showConnection();
}

void Vexo_MainController::readEveryKindQuietly() {
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (ending_) {
            break;
        }
        exchange([&] { cusbCom_con->GetSetting(kQuiet, setting.kind); });
    }
}

void Vexo_MainController::choosePrinter(const QString& serial) {
    if (cusbCom_con == nullptr || exchanging_ || ending_ ||
        PrinterWithSerial(present_, serial.toStdString()) == nullptr) {
        return;
    }
    chosenSerial_ = serial.toStdString();
    targetChosenPrinter();
    if (progress_con != nullptr) {
        progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
    }
    readEveryKindQuietly();
    if (progress_con != nullptr) {
        progress_con->closePanel();
    }
    showConnection();
}

void Vexo_MainController::targetChosenPrinter() {
    const std::string serial = chosenSerial_.value_or(std::string());
    if (serial == targetSerial_) {
        return;
    }
    targetSerial_ = serial;
    cusbCom_con->SetDeviceInf(std::string(protocol::kTargetManufacturer).c_str(),
                              std::string(protocol::kTargetProduct).c_str(), serial.c_str());
}

void Vexo_MainController::noteOutcome() {
    if (cusbCom_con == nullptr) {
        return;
    }
    if (const std::optional<TransactionOutcome> outcome = cusbCom_con->LastOutcome()) {
        const ConnectionState before = connection_;
        connection_ = ConnectionAfter(outcome->result, outcome->status);
        if (connection_.connection == Connection::Connected && printerInUse() == nullptr && settleTimer_) {
            // A printer answered that the last listing did not show: list again to name it.
            refreshPending_ = true;
        }
        if (before.connection != connection_.connection || before.status != connection_.status) {
            showConnection();
        }
    }
}

const PrinterIdentity* Vexo_MainController::printerInUse() const {
    return chosenSerial_ ? PrinterWithSerial(present_, *chosenSerial_) : nullptr;
}

void Vexo_MainController::showConnection() {
    connectionView_->Show(connection_, printerInUse());
    if (mainWindow->isVisible()) {
        fitWrappedTexts(); // a remedy may take more lines than the text before it
    }
    if (PrinterUnreachable(connection_.connection)) {
        // Their old values belong to no printer now: the fields say why in short, and the whole
        // headline on hovering (and to a screen reader, as their description).
        const QString shortText = UnreachableFieldText(connection_);
        const QString headline = ConnectionHeadline(connection_, nullptr);
        for (const SettingBox& box : boxes_) {
            QLineEdit* field = box.currentValue;
            field->setText(shortText);
            field->setToolTip(headline);
            field->setCursorPosition(0);
        }
    }
}
