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

const std::map<std::string, std::string> kQueues{
    {"a-labels", "Tamblor LM-360R"}, {"b-laser", "Corvel OfficeLaser 2"}, {"c-labels", "Tamblor LM-360R"}};

class InstalledPrinterListCupsTest : public testsupport::PrivateCupsSuite {
  protected:
    static void SetUpTestSuite() {
        Queues queues;
        for (const auto& [name, type] : kQueues) {
            queues.emplace_back(QString::fromStdString(name), QString::fromStdString(type));
        }
        StartServer(queues);
    }
    static void TearDownTestSuite() { StopServer(); }
};

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
