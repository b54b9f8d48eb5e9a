#pragma once

#include "app/ControllerServices.h"
#include "usb/ProgressIndicator.h"

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

// A progress panel and a settings object that write what happens to them into one shared log, so
// tests see the order of panel and exchange calls.
namespace apptest {

struct Log {
    QStringList entries;
    // Called by the settings recorder on every exchange, e.g. to look at the window then.
    std::function<void(const QString&)> onExchange;
    bool exchangeAlive = false;
    // What the recorded bus lists, and the callback a controller left to hear of devices changing.
    PrinterListing listing;
    platform::UsbDevicesChanged devicesChanged;
    std::map<protocol::SettingKind, int> held; // what the printer is said to hold
};

class RecordingPanel : public ProgressPanel, public ProgressIndicator {
  public:
    explicit RecordingPanel(Log& log) : log_(log) {}
    void openPanel(const char* messageKey, const char* titleKey) override {
        log_.entries << QStringLiteral("open %1 %2").arg(QLatin1String(messageKey), QLatin1String(titleKey));
        shown = true;
    }
    void closePanel() override {
        log_.entries << QStringLiteral("close");
        shown = false;
    }
    ProgressIndicator* indicator() override { return this; }
    void setProgressBarValue(double value) override { log_.entries << QStringLiteral("bar %1").arg(value); }

    bool shown = false;

  private:
    Log& log_;
};

class RecordingExchange : public SettingsExchange {
  public:
    explicit RecordingExchange(Log& log) : log_(log) { log_.exchangeAlive = true; }
    ~RecordingExchange() override { log_.exchangeAlive = false; }
    RecordingExchange(const RecordingExchange&) = delete;
    RecordingExchange& operator=(const RecordingExchange&) = delete;

    void SetDeviceInf(const char* maker, const char* model, const char* serial) override {
        Record(QStringLiteral("device %1|%2|%3")
                   .arg(QLatin1String(maker), QLatin1String(model), QLatin1String(serial)));
    }
    LinkResult GetSetting(std::int8_t quiet, protocol::SettingKind kind) override {
        Record(QStringLiteral("get %1 %2").arg(quiet).arg(kind));
        return kLinkOk;
    }
    LinkResult SetSetting(std::int8_t zero, protocol::SettingKind kind) override {
        Record(QStringLiteral("set %1 %2").arg(zero).arg(kind));
        return kLinkOk;
    }
    void comboBoxSelectionDidChange(QComboBox* sender) override {
        Record(QStringLiteral("selection %1").arg(sender->objectName()));
    }
    LinkResult ApplyDesired(std::span<const DesiredValue> desired) override {
        QStringList values;
        for (const DesiredValue& d : desired) {
            values << QStringLiteral("%1=%2").arg(d.kind).arg(d.value);
        }
        Record(QStringLiteral("apply ") + values.join(QLatin1Char(' ')));
        return kLinkOk;
    }
    std::optional<int> HeldValue(protocol::SettingKind kind) const override {
        const auto found = log_.held.find(kind);
        return found != log_.held.end() ? std::optional(found->second) : std::nullopt;
    }
    PrinterListing ListPrinters() override {
        Record(QStringLiteral("list"));
        return log_.listing;
    }
    std::optional<TransactionOutcome> LastOutcome() const override { return std::nullopt; }
    void Abandon() override { Record(QStringLiteral("abandon")); }
    std::unique_ptr<platform::UsbChangeSubscription>
    WatchDeviceChanges(platform::UsbDevicesChanged changed) override {
        log_.devicesChanged = std::move(changed);
        return nullptr;
    }

  private:
    void Record(const QString& entry) {
        log_.entries << entry;
        if (log_.onExchange) {
            log_.onExchange(entry);
        }
    }
    Log& log_;
};

// The factory a controller under test gets: records the widgets it was handed.
inline ExchangeFactory RecordingFactory(Log& log, SettingWidgets* handed = nullptr) {
    return [&log, handed](const SettingWidgets& widgets, ProgressIndicator*) {
        if (handed != nullptr) {
            *handed = widgets;
        }
        return std::make_unique<RecordingExchange>(log);
    };
}

} // namespace apptest
