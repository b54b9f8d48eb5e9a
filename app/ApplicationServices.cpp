#include "app/ApplicationServices.h"

#include "app/Vexo_MainController.h"
#include "app/Vexo_Progress.h"
#include "platform/usb/ProcessUsbBus.h"
#include "usb/CUsbCom.h"

namespace {

class SharedPanel final : public ProgressPanel {
  public:
    void openPanel(const char* messageKey, const char* titleKey) override {
        Vexo_Progress::sharedVexo_Progress().openPanel(messageKey, titleKey);
    }
    void closePanel() override { Vexo_Progress::sharedVexo_Progress().closePanel(); }
    platform::ProgressIndicator* indicator() override { return &Vexo_Progress::sharedVexo_Progress(); }
};

class CUsbComSettings final : public SettingsExchange {
  public:
    CUsbComSettings(const SettingWidgets& widgets, platform::ProgressIndicator* progress,
                    platform::UsbBus& bus)
        : com_(widgets.lists[0], widgets.lists[1], widgets.lists[2], widgets.lists[3], widgets.lists[4],
               widgets.currentValues[0], widgets.currentValues[1], widgets.currentValues[2],
               widgets.currentValues[3], widgets.currentValues[4], progress, bus) {}

    void SetDeviceInf(const char* maker, const char* model, const char* serial) override {
        com_.SetDeviceInf(maker, model, serial);
    }
    LinkResult GetSetting(std::int8_t quiet, protocol::SettingKind kind) override {
        return com_.GetSetting(quiet, kind);
    }
    LinkResult SetSetting(std::int8_t zero, protocol::SettingKind kind) override {
        return com_.SetSetting(zero, kind);
    }
    void comboBoxSelectionDidChange(QComboBox* sender) override { com_.comboBoxSelectionDidChange(sender); }

  private:
    CUsbCom com_;
};

} // namespace

ProgressPanel& SharedProgressPanel() {
    static SharedPanel panel;
    return panel;
}

ExchangeFactory CUsbComFactory(platform::UsbBus& bus) {
    return [&bus](const SettingWidgets& widgets, platform::ProgressIndicator* progress) {
        return std::make_unique<CUsbComSettings>(widgets, progress, bus);
    };
}

Vexo_MainController::Vexo_MainController()
    : Vexo_MainController(SharedProgressPanel(), CUsbComFactory(platform::ProcessUsbBus())) {}
