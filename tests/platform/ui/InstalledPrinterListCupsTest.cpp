// The installed-printer list as a real CUPS server reports it. One server serves the whole
// binary: the CUPS client library keeps the first server it talked to for the life of the process.
#include "platform/ui/PrinterList.h"
#include "tests/platform/ui/PrivateCupsServer.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace {

using testsupport::PrivateCupsServer;

const std::map<std::string, std::string> kQueues{
    {"a-labels", "Tamblor LM-360R"}, {"b-laser", "Corvel OfficeLaser 2"}, {"c-labels", "Tamblor LM-360R"}};

class InstalledPrinterListCupsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!PrivateCupsServer::CupsdProgram()) {
            return;
        }
        server = std::make_unique<PrivateCupsServer>();
        for (const auto& [name, type] : kQueues) {
            server->AddQueue(QString::fromStdString(name), QString::fromStdString(type));
        }
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        if (!server) {
            GTEST_SKIP() << "cupsd is not installed (Debian package cups)";
        }
        ASSERT_TRUE(server->Running()) << server->Error().toStdString();
    }

    static std::unique_ptr<PrivateCupsServer> server;
};

std::unique_ptr<PrivateCupsServer> InstalledPrinterListCupsTest::server;

TEST_F(InstalledPrinterListCupsTest, ListsEveryQueueWithItsMakeAndModel) {
    const platform::InstalledPrinters printers = platform::InstalledPrinterList();

    ASSERT_EQ(printers.names.size(), printers.types.size());
    std::map<std::string, std::string> listed;
    for (qsizetype i = 0; i < printers.names.size(); ++i) {
        listed[printers.names[i].toStdString()] = printers.types[i].toStdString();
    }
    EXPECT_EQ(listed, kQueues);
}

} // namespace
