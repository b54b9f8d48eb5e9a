#pragma once

#include "platform/usbhost/UsbDeviceChanges.h"
#include "protocol/SettingKind.h"
#include "usb/LinkResult.h"
#include "usb/SettingsService.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QComboBox;
class QLineEdit;

class ProgressIndicator;

// What the main window controller drives besides its widgets. The application wires the shared
// progress panel and CUsbCom behind these; tests wire recorders.

// The progress panel: shown around every exchange and file write the user starts, always with these keys.
inline constexpr const char* kProgressMessageKey = "ProgressbarWindowMessage";
inline constexpr const char* kProgressTitleKey = "ProgressWindowTitle";

class ProgressPanel {
  public:
    virtual ~ProgressPanel() = default;
    virtual void openPanel(const char* messageKey, const char* titleKey) = 0;
    virtual void closePanel() = 0;
    // What an exchange moves while it runs (the same panel).
    virtual ProgressIndicator* indicator() = 0;
};

// The settings object: reads, writes and resets, showing values and reporting failures itself.
class SettingsExchange {
  public:
    virtual ~SettingsExchange() = default;
    // The printer to talk to; an empty serial matches any.
    virtual void SetDeviceInf(const char* maker, const char* model, const char* serial) = 0;
    virtual LinkResult GetSetting(std::int8_t quiet, protocol::SettingKind kind) = 0;
    virtual LinkResult SetSetting(std::int8_t zero, protocol::SettingKind kind) = 0;
    virtual void comboBoxSelectionDidChange(QComboBox* sender) = 0;
    // Brings the printer to `desired`: writes only the settings whose value differs, each read back and
    // compared as SetSetting does, shows what the printer answered and reports failures the same way.
    virtual LinkResult ApplyDesired(std::span<const DesiredValue> desired) = 0;
    // What the printer held when it last answered for the kind; nullopt when it has not, or the last
    // exchange for it failed.
    virtual std::optional<int> HeldValue(protocol::SettingKind kind) const = 0;

    // Every printer-class interface present, claiming none.
    virtual PrinterListing ListPrinters() = 0;
    // The result and platform status of the latest exchange; nullopt before the first.
    virtual std::optional<TransactionOutcome> LastOutcome() const = 0;
    // The window is going: the exchange under way ends quietly and no other starts.
    virtual void Abandon() = 0;
    // `changed` is called, on any thread, when USB devices arrive or leave; nullptr when the bus
    // cannot tell.
    virtual std::unique_ptr<platform::UsbChangeSubscription>
    WatchDeviceChanges(platform::UsbDevicesChanged changed) = 0;
};

// One setting's widgets that the settings object and the command-file builder borrow.
struct SettingControls {
    protocol::SettingKind kind = 0;
    QComboBox* settingsComb = nullptr; // its choice list
    QLineEdit* currentValue = nullptr; // what the printer holds now
};
// Those of every setting of the table, in its order; a setting left out has no widgets.
using SettingWidgets = std::vector<SettingControls>;

using ExchangeFactory =
    std::function<std::unique_ptr<SettingsExchange>(const SettingWidgets&, ProgressIndicator*)>;
