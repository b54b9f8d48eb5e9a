#pragma once

// A settings object wired to real widgets, a simulated bus, scripted dialogs and a progress
// recorder, as the main window wires it.
#include "app/CUsbCom.h"
#include "platform/core/Localized.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"
#include "simulator/SimulatedBus.h"
#include "tests/support/ScriptedDialogs.h"
#include "texts/SettingTexts.h"
#include "usb/CUsb.h"
#include "usb/ProgressIndicator.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace usbcomtest {

class RecordedProgress : public ProgressIndicator {
  public:
    void setProgressBarValue(double value) override { positions.push_back(value); }
    std::vector<double> positions;
};

// The bytes one connection carries: the two opening frames, then `frames`.
inline std::vector<std::uint8_t> Wire(std::initializer_list<protocol::Frame> frames) {
    std::vector<std::uint8_t> bytes = protocol::InitializeFrame();
    const protocol::Frame mode = protocol::ModeFrame();
    bytes.insert(bytes.end(), mode.begin(), mode.end());
    for (const protocol::Frame& frame : frames) {
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

inline protocol::Frame ReadFrame(protocol::SettingKind kind) {
    return protocol::ReadRequestFor(kind)->frame;
}

inline constexpr char kInitialText[] = "(not read)";

class UsbComTest : public testing::Test {
  protected:
    UsbComTest() {
        SettingWidgets widgets;
        for (const protocol::SettingRow& setting : protocol::Settings()) {
            auto list = std::make_unique<QComboBox>();
            for (const protocol::SettingChoice& item : setting.List()) {
                list->addItem(texts::Shown(item.text));
            }
            list->setCurrentIndex(setting.firstChoice);
            auto field = std::make_unique<QLineEdit>(QString::fromLatin1(kInitialText));
            widgets.push_back({setting.kind, list.get(), field.get()});
            lists_[setting.kind] = std::move(list);
            fields_[setting.kind] = std::move(field);
        }
        com = std::make_unique<CUsbCom>(widgets, &progress, bus);
        com->SetDeviceInf("Tamblor", "LM-360R", "");
    }

    QComboBox& List(protocol::SettingKind kind) { return *lists_.at(kind); }
    QLineEdit& Field(protocol::SettingKind kind) { return *fields_.at(kind); }

    simulator::SimulatedDevice& AddPrinter(simulator::DeviceScript script = {}) {
        return bus.AddDevice(std::move(script));
    }

    // The platform status of the latest exchange, as the window took it from the service.
    std::int32_t LastError() const { return com->LastOutcome() ? com->LastOutcome()->status : 0; }

    // The title an exchange alert with this key and code carries.
    static QString AlertTitle(std::string_view key, int code) {
        return platform::Localized(key) + QString::number(code) + QLatin1Char(')');
    }

    simulator::SimulatedBus bus;
    RecordedProgress progress;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<CUsbCom> com;

  private:
    std::map<protocol::SettingKind, std::unique_ptr<QComboBox>> lists_;
    std::map<protocol::SettingKind, std::unique_ptr<QLineEdit>> fields_;
};

} // namespace usbcomtest
