#pragma once

// A settings object wired to real widgets, a simulated bus, scripted dialogs and a progress
// recorder, as the main window wires it.
#include "app/CUsbCom.h"
#include "platform/core/Localized.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"
#include "simulator/SimulatedBus.h"
#include "tests/support/ScriptedDialogs.h"
#include "usb/CUsb.h"
#include "usb/ProgressIndicator.h"

#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <gtest/gtest.h>
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
        for (protocol::SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind;
             ++kind) {
            auto list = std::make_unique<QComboBox>();
            for (const protocol::SettingText& item : protocol::ListItems(kind)) {
                list->addItem(platform::Localized(item));
            }
            list->setCurrentIndex(protocol::InitialIndex(kind));
            lists_[Slot(kind)] = std::move(list);
            fields_[Slot(kind)] = std::make_unique<QLineEdit>(QString::fromLatin1(kInitialText));
        }
        com = std::make_unique<CUsbCom>(lists_[0].get(), lists_[1].get(), lists_[2].get(), lists_[3].get(),
                                        lists_[4].get(), fields_[0].get(), fields_[1].get(), fields_[2].get(),
                                        fields_[3].get(), fields_[4].get(), &progress, bus);
        com->SetDeviceInf("Tamblor", "LM-360R", "");
    }

    QComboBox& List(protocol::SettingKind kind) { return *lists_[Slot(kind)]; }
    QLineEdit& Field(protocol::SettingKind kind) { return *fields_[Slot(kind)]; }

    simulator::SimulatedDevice& AddPrinter(simulator::DeviceScript script = {}) {
        return bus.AddDevice(std::move(script));
    }

    std::int32_t LastError() const { return static_cast<std::int32_t>(com->cusbLib().mLastError()); }

    // The title an exchange alert with this key and code carries.
    static QString AlertTitle(std::string_view key, int code) {
        return platform::Localized(key) + QString::number(code) + QLatin1Char(')');
    }

    simulator::SimulatedBus bus;
    RecordedProgress progress;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<CUsbCom> com;

  private:
    static std::size_t Slot(protocol::SettingKind kind) { return static_cast<std::size_t>(kind - 1); }

    std::array<std::unique_ptr<QComboBox>, 5> lists_;
    std::array<std::unique_ptr<QLineEdit>, 5> fields_;
};

} // namespace usbcomtest
