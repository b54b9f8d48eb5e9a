#include "app/CUsbCom.h"

#include "platform/usb/Tick.h"

#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

CUsbCom::CUsbCom(QComboBox* powerOnSettingsComb_, QComboBox* autoPowerOffSettingsComb_,
                 QComboBox* networkSetSettingsComb_, QComboBox* infoPrintSettingsComb_,
                 QComboBox* commandSettingsComb_, QLineEdit* powerOnCurrentValue_,
                 QLineEdit* autoPowerOffCurrentValue_, QLineEdit* networkSetCurrentValue_,
                 QLineEdit* infoPrintCurrentValue_, QLineEdit* commandCurrentValue_,
                 ProgressIndicator* progress_con_, platform::UsbBus& bus)
    : service_(bus), powerOnSettingsComb(powerOnSettingsComb_),
      autoPowerOffSettingsComb(autoPowerOffSettingsComb_), networkSetSettingsComb(networkSetSettingsComb_),
      infoPrintSettingsComb(infoPrintSettingsComb_), commandSettingsComb(commandSettingsComb_),
      powerOnCurrentValue(powerOnCurrentValue_), autoPowerOffCurrentValue(autoPowerOffCurrentValue_),
      networkSetCurrentValue(networkSetCurrentValue_), infoPrintCurrentValue(infoPrintCurrentValue_),
      commandCurrentValue(commandCurrentValue_), progress_con(progress_con_) {}

CUsbCom::~CUsbCom() = default;

void CUsbCom::SetDeviceInf(std::optional<std::string> manufacturer, std::optional<std::string> product,
                           std::optional<std::string> serial) {
    service_.SetTarget(std::move(manufacturer), std::move(product), std::move(serial));
}

void CUsbCom::comboBoxSelectionDidChange(const QComboBox* sender) {
    if (sender == nullptr) {
        return;
    }
    pscIndex_ = static_cast<std::uint16_t>(sender->currentIndex() & 0xFFFF);
}

LinkResult CUsbCom::GetSettings(std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply) {
    const TransactionOutcome done = runner_.Run([&] {
        return service_.Transact({.shape = TransactionPlan::Shape::Read,
                                  .frame = frame,
                                  .reply = reply,
                                  .requestWriteFailure = kLinkWriteFailed,
                                  .progress = progress()});
    });
    NoteOutcome(done.result, done.status);
    return done.result;
}

LinkResult CUsbCom::SetSettings(std::span<const std::uint8_t> frame,
                                std::span<const std::uint8_t> secondFrame, std::span<std::uint8_t> reply) {
    const TransactionOutcome done = runner_.Run([&] {
        return service_.Transact({.shape = TransactionPlan::Shape::Set,
                                  .frame = frame,
                                  .request = secondFrame,
                                  .reply = reply,
                                  .progress = progress()});
    });
    NoteOutcome(done.result, done.status);
    return done.result;
}

PrinterListing CUsbCom::ListPrinters() {
    return runner_.Run([&] { return service_.ListPrinters(); });
}

void CUsbCom::wait(std::uint32_t seconds) {
    constexpr std::uint64_t kTicksPerSecond = 60;
    const std::uint64_t ticks = std::uint64_t{seconds} * kTicksPerSecond;
    // Summed tick by tick so that neither the counter's wrap nor a long wait overflows.
    std::uint64_t elapsed = 0;
    std::uint32_t last = platform::TickCount();
    while (elapsed < ticks) {
        platform::SleepUntilNextTick();
        const std::uint32_t now = platform::TickCount();
        elapsed += static_cast<std::uint32_t>(now - last);
        last = now;
    }
}

void CUsbCom::timeInterval(double seconds) {
    if (!(seconds > 0)) { // also NaN
        return;
    }
    const double milliseconds = std::min(seconds * 1000.0, static_cast<double>(INT_MAX));
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::lround(milliseconds)), &loop, &QEventLoop::quit);
    loop.exec();
}

QComboBox* CUsbCom::ListFor(protocol::SettingKind kind) const {
    switch (kind) {
    case protocol::kPowerOn:
        return powerOnSettingsComb;
    case protocol::kAutoPowerOff:
        return autoPowerOffSettingsComb;
    case protocol::kNetwork:
        return networkSetSettingsComb;
    case protocol::kInfoPrint:
        return infoPrintSettingsComb;
    case protocol::kCommandMode:
        return commandSettingsComb;
    default:
        return nullptr;
    }
}

QLineEdit* CUsbCom::FieldFor(protocol::SettingKind kind) const {
    switch (kind) {
    case protocol::kPowerOn:
        return powerOnCurrentValue;
    case protocol::kAutoPowerOff:
        return autoPowerOffCurrentValue;
    case protocol::kNetwork:
        return networkSetCurrentValue;
    case protocol::kInfoPrint:
        return infoPrintCurrentValue;
    case protocol::kCommandMode:
        return commandCurrentValue;
    default:
        return nullptr;
    }
}
