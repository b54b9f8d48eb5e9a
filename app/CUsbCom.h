#pragma once

#include "app/ControllerServices.h"
#include "app/ExchangeRunner.h"
#include "protocol/SettingKind.h"
#include "usb/LinkResult.h"
#include "usb/SettingsService.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class QComboBox;
class QString;
class QLineEdit;

class ProgressIndicator;

namespace platform {
class UsbBus;
}

// The settings object of the main window: the window's face of the settings service. It reads,
// writes and resets the printer's settings through the service, moves the progress panel meanwhile,
// shows what the printer holds in the window's fields and lists, and reports failures in alerts.
//
// The lists, fields and progress panel are borrowed; their owner outlives this object. Any of them
// may be missing or null: nothing is shown there, and a write without its list writes as if nothing
// were selected. What is shown and reported comes only from what the service returns.
//
// The service's work runs on a worker thread (ExchangeRunner): each operation still returns only when
// its exchange is over, but the window is painted meanwhile and takes no input.
class CUsbCom {
  public:
    // Returned, without touching the bus, for a setting kind an operation does not know.
    static constexpr LinkResult kRefusedKind = SettingsService::kRefusedKind;

    // The link runs on `bus` (borrowed, must outlive this object).
    CUsbCom(SettingWidgets widgets, ProgressIndicator* progress_con, platform::UsbBus& bus);
    ~CUsbCom();
    CUsbCom(const CUsbCom&) = delete;
    CUsbCom& operator=(const CUsbCom&) = delete;

    // The printer every exchange looks for. A missing or empty target matches any printer.
    void SetDeviceInf(std::optional<std::string> manufacturer, std::optional<std::string> product,
                      std::optional<std::string> serial);

    // Reads one setting and shows it; a failure shows "Unknown" and, unless quiet, raises an alert
    // with the platform's status.
    LinkResult GetSetting(std::int8_t quiet, protocol::SettingKind kind);
    // Writes the list's choice, reads it back, compares and shows the printer's answer; kind 6 resets
    // the printer and reads every setting again. With `zero` set, 0 is written instead.
    LinkResult SetSetting(std::int8_t zero, protocol::SettingKind kind);
    // Writes only the settings of `desired` whose value differs from what the printer holds, each read
    // back and compared as SetSetting does; shows every answer and raises the same alerts. The result
    // of the exchange that failed, else kLinkOk.
    LinkResult ApplyDesired(std::span<const DesiredValue> desired);
    // What the printer held when it last answered for the kind.
    std::optional<int> HeldValue(protocol::SettingKind kind) const;
    // The alert of a failed exchange: `statement` says what failed and `reason` why; the key's text
    // followed directly by the code and ")" goes into the details (and is the statement when none is given).
    void mRunAlertPanel(std::string_view key, std::int32_t code, const QString& statement,
                        const QString& reason);

    // Every printer-class interface present, without claiming any.
    PrinterListing ListPrinters();
    // The result and platform status of the latest exchange; nullopt before the first.
    std::optional<TransactionOutcome> LastOutcome() const { return lastOutcome_; }
    // The window is going: the exchange under way ends without showing or reporting anything, and
    // no further one starts.
    void Abandon() { abandoned_ = true; }

    // Puts an exchange's outcome into the kind's field and list. The flag is the caller's and makes
    // no difference; `value` is the reply's value byte as a signed number. A failure shows what the
    // latest exchange's platform status says.
    void ShowSetting(LinkResult result, std::int8_t flag, protocol::SettingKind kind, int value);

    // Remembers the index a list now shows (forwarded from the lists' selection changes).
    void comboBoxSelectionDidChange(const QComboBox* sender);
    std::uint16_t pscIndex() const { return pscIndex_; }

    // Pauses without spinning: `wait` sleeps on the 60 Hz tick; `timeInterval` keeps the
    // interface live by running the event loop meanwhile.
    void wait(std::uint32_t seconds);
    void timeInterval(double seconds);

  private:
    QComboBox* ListFor(protocol::SettingKind kind) const;
    QLineEdit* FieldFor(protocol::SettingKind kind) const;
    LinkResult WriteSetting(std::int8_t zero, protocol::SettingKind kind);
    LinkResult ResetPrinter();
    void AlertIfFailed(std::optional<std::string_view> key, const QString& statement, LinkResult result,
                       std::int32_t status);
    void NoteOutcome(LinkResult result, std::int32_t status) {
        lastOutcome_ = TransactionOutcome{result, status};
    }
    ProgressIndicator* progress() { return runner_.Forwarding(progress_con); }
    // Raises a read's alert unless it was asked to stay quiet; returns its result.
    LinkResult ShowRead(std::int8_t quiet, protocol::SettingKind kind, const ReadOutcome& read);
    const SettingControls* ControlsFor(protocol::SettingKind kind) const;

    SettingsService service_; // holds the targets and the link

    SettingWidgets widgets_;
    ProgressIndicator* progress_con;

    std::uint16_t pscIndex_ = 0;
    std::optional<TransactionOutcome> lastOutcome_;
    std::map<protocol::SettingKind, int> held_; // the printer's last answer for each kind
    bool abandoned_ = false;
    // Declared last: gone first, so no worker outlives the service it uses.
    ExchangeRunner runner_;
};
