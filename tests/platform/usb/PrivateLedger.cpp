// Notes of the backend under test go to a folder of the test run's own, never to the machine's ledgers.
#include "platform/usb/libusb/DetachLedger.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

namespace {

class PrivateLedger : public ::testing::Environment {
  public:
    void SetUp() override {
        char pattern[] = "/tmp/lm360r-test-ledger.XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("no folder for the test's ledger");
        }
        root_ = pattern;
        platform::OverrideDefaultLedgerPlaces(
            platform::LedgerPlaces{platform::LedgerFolder{root_ + "/ledger", geteuid(), false}, {}});
    }
    void TearDown() override {
        platform::OverrideDefaultLedgerPlaces(std::nullopt);
        std::filesystem::remove_all(root_);
    }

  private:
    std::string root_;
};

[[maybe_unused]] const auto* const registered = ::testing::AddGlobalTestEnvironment(new PrivateLedger);

} // namespace
