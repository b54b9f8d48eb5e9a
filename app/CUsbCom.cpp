#include "app/CUsbCom.h"

#include "platform/core/Tick.h"

#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

CUsbCom::CUsbCom(SettingWidgets widgets, ProgressIndicator* progress_con_, platform::UsbBus& bus)
    : service_(bus), widgets_(std::move(widgets)), progress_con(progress_con_) {}

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

const SettingControls* CUsbCom::ControlsFor(protocol::SettingKind kind) const {
    const auto found =
        std::find_if(widgets_.begin(), widgets_.end(),
                     [kind](const SettingControls& controls) { return controls.kind == kind; });
    return found != widgets_.end() ? &*found : nullptr;
}

QComboBox* CUsbCom::ListFor(protocol::SettingKind kind) const {
    const SettingControls* controls = ControlsFor(kind);
    return controls != nullptr ? controls->settingsComb : nullptr;
}

QLineEdit* CUsbCom::FieldFor(protocol::SettingKind kind) const {
    const SettingControls* controls = ControlsFor(kind);
    return controls != nullptr ? controls->currentValue : nullptr;
}
