// The printer selection dialog on the queues of a real CUPS server. One server serves the whole
// binary: the CUPS client library keeps the first server it talked to for the life of the process.
#include "app/Vexo_PrinterSelect.h"
#include "tests/app/ModalDriver.h"
#include "tests/app/PrintQString.h"
#include "tests/platform/ui/PrivateCupsServer.h"
#include "tests/support/ScriptedDialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class PrinterSelectCupsTest : public testsupport::PrivateCupsSuite {
  protected:
    // The other model sits between the two target queues in CUPS's order.
    static void SetUpTestSuite() {
        StartServer({{"a-labels", "Tamblor LM-360R"},
                     {"b-laser", "Corvel OfficeLaser 2"},
                     {"c-labels", "Tamblor LM-360R"}});
    }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(PrinterSelectCupsTest, OffersTheTargetQueuesAndKeepsTheOneChosen) {
    testsupport::ScriptedDialogs dialogs;
    int quits = 0;
    Vexo_PrinterSelect select({}, [&] { ++quits; });
    QStringList offered;
    testsupport::ModalDriver driver(select.printerSelectWindow, [&](QDialog&) {
        for (int i = 0; i < select.popup->count(); ++i) {
            offered << select.popup->itemText(i);
        }
        select.popup->setCurrentIndex(1);
        select.okButton->click();
    });

    select.openPrinterSelect();

    ASSERT_FALSE(driver.TimedOut());
    EXPECT_EQ(offered, QStringList({"a-labels", "c-labels"}));
    EXPECT_EQ(select.selectPrinter(), QString("c-labels"));
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(quits, 0);
}

} // namespace
