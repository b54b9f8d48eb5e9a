#include "simulator/StateFile.h"

#include "protocol/Frames.h"
#include "simulator/ProcessSimulatedBus.h"
#include "usb/CUsb.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using simulator::ParseState;
using simulator::PrinterState;

TEST(StateFile, FormatThenParseGivesTheSamePrinters) {
    PrinterState second{"B2", "Tamblor", "LM-360R", {}, {protocol::kNetwork, protocol::kInfoPrint}};
    second.settings.Set(protocol::kAutoPowerOff, 255);
    const std::vector<PrinterState> printers{simulator::DefaultPrinters()[0], second};

    const auto parsed = ParseState(simulator::FormatState(printers));
    ASSERT_TRUE(parsed.printers) << parsed.problem;
    EXPECT_EQ(*parsed.printers, printers);
}

TEST(StateFile, SectionWithoutKeysIsADefaultPrinterAndNoSectionIsNoPrinter) {
    EXPECT_EQ(ParseState("# comment\n\n[printer]\n").printers, simulator::DefaultPrinters());
    EXPECT_EQ(ParseState("").printers, std::vector<PrinterState>{});
    EXPECT_EQ(ParseState("  \r\n# nothing here\n").printers, std::vector<PrinterState>{});
}

struct BadCase {
    const char* name;
    const char* text;
    const char* problem;
};

class BadStateTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadStateTest, NamesTheLine) {
    const auto parsed = ParseState(GetParam().text);
    EXPECT_FALSE(parsed.printers);
    EXPECT_EQ(parsed.problem.rfind(GetParam().problem, 0), 0u) << parsed.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadStateTest,
    ::testing::Values(BadCase{"KeyBeforeSection", "network = 1\n", "line 1:"},
                      BadCase{"UnknownKey", "[printer]\n\ncolour = red\n", "line 3:"},
                      BadCase{"ValueTooLarge", "[printer]\npower-on = 256\n", "line 2:"},
                      BadCase{"ValueNotANumber", "[printer]\npower-on = on\n", "line 2:"},
                      BadCase{"NegativeValue", "[printer]\npower-on = -1\n", "line 2:"},
                      BadCase{"UnknownRefusedSetting", "[printer]\nrefuse = network, colour\n", "line 2:"},
                      BadCase{"NotAKeyValueLine", "[printer]\njunk\n", "line 2:"}),
    [](const ::testing::TestParamInfo<BadCase>& param) { return std::string(param.param.name); });

// A fresh folder per test, removed afterwards.
class StateFileBusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "lm360r-state-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        path = (folder / "printer.state").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string Contents(const std::string& file) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteFile(const std::string& text) const { std::ofstream(path) << text; }

    // One process's worth of work: a bus from the file, a link on it, and what stderr said.
    struct Process {
        std::unique_ptr<platform::UsbBus> bus;
        std::unique_ptr<CUsb> link;
        std::string stderrText;
    };
    Process StartProcess() const {
        ::testing::internal::CaptureStderr();
        Process process;
        process.bus = simulator::CreateProcessSimulatedBus(path.c_str());
        process.stderrText = ::testing::internal::GetCapturedStderr();
        process.link = std::make_unique<CUsb>(*process.bus);
        const std::string manufacturer = "Tamblor", product = "LM-360R";
        process.link->SetDeviceInf(&manufacturer, &product, nullptr);
        return process;
    }
    static LinkResult WritePowerOn(CUsb& link, std::uint8_t value) {
        const auto frame = *protocol::WriteFrameFor(protocol::kPowerOn, value);
        return link.TestPrint(frame).result;
    }
    static int ReadPowerOn(CUsb& link) {
        const auto request = *protocol::ReadRequestFor(protocol::kPowerOn);
        std::array<std::uint8_t, 32> reply{};
        if (link.GetSettings(request.frame, std::span(reply).first(request.replyLength)).result != kLinkOk) {
            return -1;
        }
        return reply[request.valuePosition];
    }

    fs::path folder;
    std::string path;
};

TEST_F(StateFileBusTest, MissingFileStartsFromDefaultsAndKeepsChangesForTheNextProcess) {
    {
        Process first = StartProcess();
        EXPECT_NE(first.stderrText.find(path), std::string::npos);
        EXPECT_EQ(std::count(first.stderrText.begin(), first.stderrText.end(), '\n'), 1);
        EXPECT_EQ(WritePowerOn(*first.link, 1), kLinkOk);
    }
    Process second = StartProcess();
    EXPECT_EQ(second.stderrText, "");
    EXPECT_EQ(ReadPowerOn(*second.link), 1);
    // Written atomically: no temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(StateFileBusTest, UnreadableFileIsReportedAndNeverOverwritten) {
    const std::string text = "[printer]\npower-on = maybe\n";
    WriteFile(text);
    Process process = StartProcess();
    EXPECT_NE(process.stderrText.find("line 2"), std::string::npos) << process.stderrText;
    EXPECT_EQ(WritePowerOn(*process.link, 1), kLinkOk);
    EXPECT_EQ(ReadPowerOn(*process.link), 1);
    EXPECT_EQ(Contents(path), text);
}

TEST_F(StateFileBusTest, FileWithoutPrintersIsAnEmptyBus) {
    WriteFile("# no printer attached\n");
    Process process = StartProcess();
    EXPECT_EQ(ReadPowerOn(*process.link), -1);
    EXPECT_EQ(process.link->mLastResult(), static_cast<std::uint32_t>(kLinkNoPrinter));
}

TEST_F(StateFileBusTest, RefusingPrinterAnswersItsOldValue) {
    WriteFile("[printer]\npower-on = 0\nrefuse = power-on\n");
    Process process = StartProcess();
    EXPECT_EQ(WritePowerOn(*process.link, 1), kLinkOk);
    EXPECT_EQ(ReadPowerOn(*process.link), 0);
}

TEST_F(StateFileBusTest, SeveralPrintersKeepTheirOwnSettings) {
    WriteFile("[printer]\nserial = A\npower-on = 0\n[printer]\nserial = B\npower-on = 1\n");
    Process process = StartProcess();
    const std::string manufacturer = "Tamblor", product = "LM-360R", serial = "B";
    process.link->SetDeviceInf(&manufacturer, &product, &serial);
    EXPECT_EQ(ReadPowerOn(*process.link), 1);
    EXPECT_EQ(WritePowerOn(*process.link, 0), kLinkOk);
    const auto saved = ParseState(Contents(path));
    ASSERT_TRUE(saved.printers);
    ASSERT_EQ(saved.printers->size(), 2u);
    EXPECT_EQ((*saved.printers)[0].serial, "A");
    EXPECT_EQ((*saved.printers)[1].settings.Get(protocol::kPowerOn), 0);
}

// A user trying the simulated printer plugs printers in and out by editing the file while the
// program runs; the bus lists what the file lists, and tells its watchers.
TEST_F(StateFileBusTest, EditingTheFilePlugsPrintersInAndOut) {
    WriteFile("");
    Process process = StartProcess();
    std::mutex mutex;
    std::condition_variable told;
    int changes = 0;
    const auto watch = process.bus->WatchDeviceChanges([&] {
        const std::lock_guard lock(mutex);
        ++changes;
        told.notify_all();
    });
    const auto listed = [&process] {
        std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
        process.bus->ListInterfaces(entries);
        return entries.size();
    };
    const auto edit = [&](const std::string& text, std::size_t expected) {
        WriteFile(text);
        std::unique_lock lock(mutex);
        return told.wait_for(lock, std::chrono::seconds(5), [&] { return listed() == expected; });
    };
    ASSERT_EQ(listed(), 0u);
    EXPECT_TRUE(edit("[printer]\nserial = A1\n[printer]\nserial = B2\n", 2u));
    EXPECT_TRUE(edit("[printer]\nserial = B2\n", 1u));
    EXPECT_GT(changes, 0);

    // What the printer stores goes to the file; the printer that left stays out of it.
    ASSERT_EQ(WritePowerOn(*process.link, 1), kLinkOk);
    EXPECT_EQ(Contents(path).find("A1"), std::string::npos);
    EXPECT_NE(Contents(path).find("B2"), std::string::npos);
}

} // namespace
