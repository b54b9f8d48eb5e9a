#include "usb/ConnectionState.h"

#include <gtest/gtest.h>

namespace {

struct OutcomeCase {
    LinkResult result;
    std::int32_t status;
    Connection connection;
};

class ConnectionAfterTest : public testing::TestWithParam<OutcomeCase> {};

// Only a failure to find or open the printer changes what the window says about it.
TEST_P(ConnectionAfterTest, OpenFailuresDecideTheRestMeansThePrinterIsThere) {
    EXPECT_EQ(ConnectionAfter(GetParam().result, GetParam().status).connection, GetParam().connection);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ConnectionAfterTest,
                         testing::Values(OutcomeCase{kLinkOk, 0, Connection::Connected},
                                         OutcomeCase{kLinkNoPrinter, 0, Connection::NoPrinter},
                                         OutcomeCase{kLinkOpenFailed, -3, Connection::Refused},
                                         OutcomeCase{kLinkOpenFailed, -6, Connection::InUse},
                                         OutcomeCase{kLinkOpenFailed, -4, Connection::NoPrinter},
                                         OutcomeCase{kLinkOpenFailed, -1, Connection::OpenFailed},
                                         OutcomeCase{kLinkReadFailed, 0, Connection::Connected},
                                         OutcomeCase{kLinkCommandWriteFailed, -9, Connection::Connected}));

PrinterIdentity Printer(const char* serial, const char* maker = "Tamblor") {
    PrinterIdentity identity;
    identity.manufacturer = maker;
    identity.product = "LM-360R";
    identity.serial = serial;
    return identity;
}

TEST(ModelPrinters, KeepsTheLm360rInBusOrderAndLeavesOthersAndRefusedOnesOut) {
    PrinterListing listing;
    PrinterIdentity refused;
    refused.accessRefused = true;
    listing.printers = {
        {Printer("B2"), false}, {Printer("X", "Other"), false}, {refused, false}, {Printer("A1"), false}};
    const auto present = listing.ModelPrinters();
    ASSERT_EQ(present.size(), 2U);
    EXPECT_EQ(present[0].serial, "B2");
    EXPECT_EQ(present[1].serial, "A1");
    EXPECT_TRUE(listing.ShowsRefusedPrinter());
}

TEST(ChooseSerial, KeepsTheChoiceWhileItIsThereElseTakesTheFirst) {
    const std::vector<PrinterIdentity> both{Printer("A1"), Printer("B2")};
    EXPECT_EQ(ChooseSerial(both, std::nullopt), "A1");
    EXPECT_EQ(ChooseSerial(both, std::string("B2")), "B2");
    EXPECT_EQ(ChooseSerial({Printer("A1")}, std::string("B2")), "A1");
    EXPECT_EQ(ChooseSerial({}, std::string("B2")), std::nullopt);
}

} // namespace
