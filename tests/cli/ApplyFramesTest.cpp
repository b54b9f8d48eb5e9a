// What the printer receives from apply, counted frame by frame on the simulated bus: lm360rctl's own
// code in this process, the printer recording every byte it is sent.
#include "cli/ExitCodes.h"
#include "cli/Run.h"
#include "protocol/Frames.h"
#include "simulator/SimulatedBus.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace cli::test {
namespace {

// The bus as lm360rctl's Run takes it, lent from the test, which keeps the printers and their records.
class LentBus final : public platform::UsbBus {
  public:
    explicit LentBus(platform::UsbBus& bus) : bus_(bus) {}
    platform::UsbStatus
    ListInterfaces(std::vector<std::unique_ptr<platform::UsbInterfaceEntry>>& entries) override {
        return bus_.ListInterfaces(entries);
    }

  private:
    platform::UsbBus& bus_;
};

struct Received {
    std::size_t connections = 0;
    std::size_t bytes = 0;
    std::size_t frames = 0;
    std::size_t writes = 0; // settings' write frames
    std::size_t reads = 0;  // read requests
};

// Everything the printer received since `from` connections, frame by frame.
Received ReceivedSince(const simulator::SimulatedDevice& device, std::size_t from) {
    Received received;
    const auto& connections = device.record().connections;
    for (std::size_t c = from; c < connections.size(); ++c) {
        ++received.connections;
        const std::vector<std::uint8_t>& bytes = connections[c];
        received.bytes += bytes.size();
        std::size_t at = 0;
        while (at < bytes.size()) {
            const auto frame = protocol::RecognizeFrame(std::span(bytes).subspan(at));
            if (!frame) {
                ADD_FAILURE() << "a byte that starts no frame at " << at << " of connection " << c;
                break;
            }
            ++received.frames;
            received.writes += frame->type == protocol::FrameType::Write ? 1 : 0;
            received.reads += frame->type == protocol::FrameType::Read ? 1 : 0;
            at += frame->length;
        }
    }
    return received;
}

class ApplyFrames : public testing::Test {
  protected:
    ApplyFrames() {
        bus_.AddDevice(Script("A"));
        bus_.AddDevice(Script("B"));
    }

    static simulator::DeviceScript Script(const char* serial) {
        simulator::DeviceScript script;
        script.identity = simulator::DefaultIdentity(serial);
        return script;
    }

    // lm360rctl's output is of no interest here, and kept out of the test's own.
    int Run(const QStringList& arguments) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = cli::Run(QStringList{"lm360rctl"} + arguments, [this](const BusOptions&) {
            return std::make_unique<LentBus>(bus_);
        });
        testing::internal::GetCapturedStdout();
        lastErrors_ = testing::internal::GetCapturedStderr();
        return status;
    }

    std::size_t Connections(std::size_t device) { return bus_.device(device).record().connections.size(); }
    Received Since(std::size_t device, std::size_t from) { return ReceivedSince(bus_.device(device), from); }

    simulator::SimulatedBus bus_;
    std::string lastErrors_;
};

const QStringList kAllFour{"apply", "power-on=on", "auto-power-off=30", "network=1", "info-print=2"};

TEST_F(ApplyFrames, SecondApplySendsNoWriteFrame) {
    const QStringList apply = kAllFour + QStringList{"--serial", "A"};
    ASSERT_EQ(Run(apply), kExitSuccess) << lastErrors_;
    const Received first = Since(0, 0);
    EXPECT_EQ(first.writes, 4U);
    EXPECT_EQ(first.reads, 8U) << "each setting read, then read back after its write";
    EXPECT_EQ(first.connections, 8U);

    const std::size_t before = Connections(0);
    ASSERT_EQ(Run(apply), kExitSuccess) << lastErrors_;
    const Received second = Since(0, before);
    EXPECT_EQ(second.writes, 0U);
    EXPECT_EQ(second.reads, 4U);
    EXPECT_EQ(second.connections, 4U);
    EXPECT_LT(second.bytes, first.bytes);
    // The figures, for the record (--gtest_output=json).
    RecordProperty("first_apply_bytes", static_cast<int>(first.bytes));
    RecordProperty("first_apply_frames", static_cast<int>(first.frames));
    RecordProperty("second_apply_bytes", static_cast<int>(second.bytes));
    RecordProperty("second_apply_frames", static_cast<int>(second.frames));
    EXPECT_EQ(Connections(1), 0U) << "B was never opened";
}

TEST_F(ApplyFrames, CheckSendsNoWriteFrame) {
    ASSERT_EQ(Run(kAllFour + QStringList{"--check", "--all"}), kExitSuccess) << lastErrors_;
    for (std::size_t device : {0U, 1U}) {
        const Received received = Since(device, 0);
        EXPECT_EQ(received.writes, 0U) << device;
        EXPECT_EQ(received.reads, 4U) << device;
    }
}

// Only what differs is written: one setting of four on A, all four on B.
TEST_F(ApplyFrames, OnlyTheSettingsThatDifferAreWrittenOnEachPrinter) {
    ASSERT_EQ(Run({"apply", "network=1", "--serial", "A"}), kExitSuccess) << lastErrors_;
    const std::size_t a = Connections(0);
    ASSERT_EQ(Run({"apply", "power-on=off", "auto-power-off=60", "network=1", "info-print=1", "--all"}),
              kExitSuccess)
        << lastErrors_;
    EXPECT_EQ(Since(0, a).writes, 0U);
    EXPECT_EQ(Since(1, 0).writes, 1U) << "B still had network 3";
    const std::size_t b = Connections(1);
    ASSERT_EQ(Run({"apply", "power-on=off", "auto-power-off=60", "network=1", "info-print=1", "--all"}),
              kExitSuccess);
    EXPECT_EQ(Since(1, b).writes, 0U);
}

} // namespace
} // namespace cli::test
