#include "app/ApplicationServices.h"

#include "app/CUsbCom.h"
#include "app/Vexo_MainController.h"
#include "app/Vexo_Progress.h"
#include "platform/usbhost/UsbInterface.h"

namespace {

// The controller's interfaces speak C strings, where null means "none": never make a string of it.
std::optional<std::string> Text(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

std::optional<std::string_view> Key(const char* key) {
    return key != nullptr ? std::optional<std::string_view>(key) : std::nullopt;
}

class SharedPanel final : public ProgressPanel {
  public:
    void openPanel(const char* messageKey, const char* titleKey) override {
        Vexo_Progress::sharedVexo_Progress().openPanel(Key(messageKey), Key(titleKey));
    }
    void closePanel() override { Vexo_Progress::sharedVexo_Progress().closePanel(); }
    ProgressIndicator* indicator() override { return &Vexo_Progress::sharedVexo_Progress(); }
};

class CUsbComSettings final : public SettingsExchange {
  public:
    CUsbComSettings(const SettingWidgets& widgets, ProgressIndicator* progress, platform::UsbBus& bus)
        : com_(widgets, progress, bus), bus_(bus) {}

    void SetDeviceInf(const char* maker, const char* model, const char* serial) override {
        com_.SetDeviceInf(Text(maker), Text(model), Text(serial));
    }
    LinkResult GetSetting(std::int8_t quiet, protocol::SettingKind kind) override {
        return com_.GetSetting(quiet, kind);
    }
    LinkResult SetSetting(std::int8_t zero, protocol::SettingKind kind) override {
        return com_.SetSetting(zero, kind);
    }
    void comboBoxSelectionDidChange(QComboBox* sender) override { com_.comboBoxSelectionDidChange(sender); }
    LinkResult ApplyDesired(std::span<const DesiredValue> desired) override {
        return com_.ApplyDesired(desired);
    }
    std::optional<int> HeldValue(protocol::SettingKind kind) const override { return com_.HeldValue(kind); }
    PrinterListing ListPrinters() override { return com_.ListPrinters(); }
    std::optional<TransactionOutcome> LastOutcome() const override { return com_.LastOutcome(); }
    void Abandon() override { com_.Abandon(); }
    std::unique_ptr<platform::UsbChangeSubscription>
    WatchDeviceChanges(platform::UsbDevicesChanged changed) override {
        return bus_.WatchDeviceChanges(std::move(changed));
    }

  private:
    CUsbCom com_;
    platform::UsbBus& bus_;
};

} // namespace

ProgressPanel& SharedProgressPanel() {
    static SharedPanel panel;
    return panel;
}

ExchangeFactory CUsbComFactory(platform::UsbBus& bus) {
    return [&bus](const SettingWidgets& widgets, ProgressIndicator* progress) {
        return std::make_unique<CUsbComSettings>(widgets, progress, bus);
    };
}

Vexo_MainController::Vexo_MainController(platform::UsbBus& bus)
    : Vexo_MainController(SharedProgressPanel(), CUsbComFactory(bus)) {}
