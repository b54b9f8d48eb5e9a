#include "platform/usb/DetachLedger.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using platform::DetachLedger;
using platform::DetachNote;
using platform::InterfaceLocation;

class DetachLedgerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/lm360r-ledger.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        location_.bus = 1;
        location_.ports = "1.4";
        location_.address = 7;
        location_.configuration = 1;
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(folder_);
    }

    std::string folder_;
    InterfaceLocation location_;
};

TEST_F(DetachLedgerTest, ANoteNamesThisRunUntilItIsRemoved) {
    const DetachLedger ledger;
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    const auto note = DetachLedger().Read(location_);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->address, 7);
    EXPECT_EQ(note->pid, getpid());
    EXPECT_EQ(note->driver, "usblp");
    EXPECT_FALSE(DetachLedger::Abandoned(*note)) << "this process is alive";

    InterfaceLocation otherInterface = location_;
    otherInterface.interface = 1;
    EXPECT_FALSE(ledger.Read(otherInterface));

    ledger.Remove(location_);
    EXPECT_FALSE(ledger.Read(location_));
}

TEST_F(DetachLedgerTest, ANoteOfAnEndedOrReplacedProcessIsAbandoned) {
    const DetachLedger ledger;
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    DetachNote note = *ledger.Read(location_);
    DetachNote reusedPid = note;
    reusedPid.started += 1; // the same pid, started at another time: another process
    EXPECT_TRUE(DetachLedger::Abandoned(reusedPid));
    DetachNote ended = note;
    ended.pid = 0x3FFFFFFF; // above any pid the kernel hands out
    EXPECT_TRUE(DetachLedger::Abandoned(ended));
}

TEST_F(DetachLedgerTest, AnUnreadableNoteIsNoNote) {
    const DetachLedger ledger;
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    for (const auto& entry : std::filesystem::directory_iterator(folder_ + "/lm360r-detached")) {
        std::ofstream(entry.path(), std::ios::trunc) << "garbage\n";
    }
    EXPECT_FALSE(ledger.Read(location_));
}

} // namespace
