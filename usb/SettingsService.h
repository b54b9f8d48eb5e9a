#pragma once

#include "platform/usbhost/UsbInterface.h"
#include "protocol/SettingKind.h"
#include "usb/CUsb.h"
#include "usb/DesiredState.h"
#include "usb/LinkResult.h"
#include "usb/PrinterIdentity.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class ProgressIndicator;

// A read of one setting.
struct ReadOutcome {
    LinkResult result = kLinkOk;
    std::int32_t status = 0; // the failing step's platform status
    int value = 0;           // the reply's value byte as a signed number; 0 when nothing arrived
};

// A write of one setting and the read-back that checks it.
struct WriteOutcome {
    LinkResult result = kLinkOk;
    std::int32_t status = 0;
    int written = 0;  // the value the write frame carried, as a signed byte
    int answered = 0; // the value read back
    bool matches() const { return result == kLinkOk && written == answered; }
};

// The reset exchange, and the auto power-off read that confirms a successful one.
struct ResetOutcome {
    TransactionOutcome reset;
    std::optional<ReadOutcome> confirmation;
    // The reset's failure, else the confirming read's result and status.
    LinkResult result() const { return confirmation ? confirmation->result : reset.result; }
    std::int32_t status() const { return confirmation ? confirmation->status : reset.status; }
};

struct StatusOutcome {
    TransactionOutcome outcome;
    std::vector<std::uint8_t> reply;
};

// A printer-class interface present on the bus and who it says it is.
struct ListedPrinter {
    PrinterIdentity identity;
    bool target = false; // it matches the service's target
};

struct PrinterListing {
    platform::UsbStatus status = platform::kUsbOk; // of the listing itself
    std::vector<ListedPrinter> printers;           // in the bus's order

    // The printer the service's exchanges reach: the first one, in the bus's order, that matches the
    // target, as the link's open takes it. Null when none matches.
    const ListedPrinter* InUse() const;
    // How many match the target: without a serial, every LM-360R does, and only the first is used.
    std::size_t Matching() const;
    // Every LM-360R that lets this user ask who it is, whatever its serial, in the bus's order: the
    // printers a user can choose from.
    std::vector<PrinterIdentity> ModelPrinters() const;
    // Whether an interface refused this user: it may be an LM-360R.
    bool ShowsRefusedPrinter() const;
};

// An LM-360R attached, and why it cannot be reached on its own when it cannot: exchanges find a
// printer by its serial number and open the first that carries it.
struct ModelPrinter {
    enum class Reach { Alone, NoSerialAmongSeveral, SerialListedBefore };
    PrinterIdentity identity;
    Reach reach = Reach::Alone;
};

// The printer's settings as both programs work with them. Each operation is one exchange on a fresh
// connection (a reset is two), made through the link's named transactions, and returns everything
// that happened: results, platform statuses and values. Showing or printing it is the caller's part.
// Progress, when given, moves through every exchange and ends at 100.
class SettingsService {
  public:
    // Returned, without touching the bus, for a setting kind an operation does not know.
    static constexpr LinkResult kRefusedKind = -1;

    // The bus is borrowed and must outlive the service. The target starts as the LM-360R, any serial.
    explicit SettingsService(platform::UsbBus& bus);

    // The printer every exchange looks for; an unset or empty target matches any printer.
    void SetTarget(std::optional<std::string> manufacturer, std::optional<std::string> product,
                   std::optional<std::string> serial);

    // Any setting of the table.
    ReadOutcome ReadSetting(protocol::SettingKind kind, ProgressIndicator* progress = nullptr);
    // Writes `value` (a setting with a fixed write carries its fixed byte), reads the setting back and
    // compares. With `zero` the frame carries 00 instead, and 00 is expected back.
    WriteOutcome WriteSetting(protocol::SettingKind kind, std::int16_t value, bool zero = false,
                              ProgressIndicator* progress = nullptr);
    // Resets the printer's settings and, when that got through, reads the auto power-off time.
    ResetOutcome Reset(ProgressIndicator* progress = nullptr);
    // The 32-byte reply to the status request.
    StatusOutcome ReadStatus();
    // All bytes in one write; nothing is read.
    TransactionOutcome Send(std::span<const std::uint8_t> bytes);
    // Every printer-class interface present, without claiming any of them.
    PrinterListing ListPrinters();

    // Reads every setting of `desired`, then writes only those whose value differs, reading each back
    // and comparing; with `check` writes nothing and says what would change.
    DesiredOutcome ApplyDesired(std::span<const DesiredValue> desired, bool check,
                                ProgressIndicator* progress = nullptr);
    // The printer the exchanges reach, and how many match the target (without a serial every LM-360R
    // does, and only the first is used). nullopt when none matches.
    std::optional<PrinterIdentity> PrinterInUse(std::size_t* matching = nullptr);
    // Every LM-360R attached, in the bus's order, each with the serial number its exchanges go by.
    // `status` gets the listing's own status.
    std::vector<ModelPrinter> EveryModelPrinter(platform::UsbStatus& status);
    // The service for one of them: the same bus, the printer's serial as the target.
    SettingsService ForPrinter(const PrinterIdentity& printer) const;

  private:
    platform::UsbBus& bus_;
    CUsb link_; // every exchange goes through its named transactions, on these targets
    std::optional<std::string> manufacturer_;
    std::optional<std::string> product_;
    std::optional<std::string> serial_;
};
