#include "usb/CUsbStrings.h"

#include "LinkTestSupport.h"
#include "simulator/DeviceIdentity.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

using cusb_detail::cfcomparecstring;
using cusb_detail::create_1284_substring;
using cusb_detail::usb_create_string;
using link_test::Bytes;

struct StringCase {
    const char* name;
    Bytes delivered;
    std::optional<std::string> expected;
};

class UsbCreateStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(UsbCreateStringTest, ReadsOnlyWellFormedDeliveredUnits) {
    simulator::SimulatedBus bus;
    simulator::DeviceScript script;
    script.rawStringDescriptors[5] = GetParam().delivered;
    bus.AddDevice(script);
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    ASSERT_EQ(bus.ListInterfaces(entries), 0);
    std::unique_ptr<platform::UsbInterface> intf;
    ASSERT_EQ(entries[0]->CreateInterface(intf), 0);

    EXPECT_EQ(usb_create_string(*intf, 5), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, UsbCreateStringTest,
    ::testing::Values(StringCase{"Plain", simulator::StringDescriptor("Tamblor"), "Tamblor"},
                      StringCase{"NonAscii", simulator::StringDescriptor("Tämblor µ"), "Tämblor µ"},
                      StringCase{"EmptyString", {2, 3}, ""},
                      StringCase{"LengthBelowTwo", {1, 3, 'T', 0}, std::nullopt},
                      StringCase{"LengthByte128", {0x80, 3, 'T', 0, 'a', 0}, std::nullopt},
                      StringCase{"LengthByte255", {0xFF, 3, 'T', 0, 'a', 0}, std::nullopt},
                      StringCase{"OddLengthDropsLastByte", {9, 3, 'T', 0, 'a', 0, 'm', 0, 'b', 0}, "Tam"},
                      StringCase{"LongerThanDelivered", {16, 3, 'T', 0, 'a', 0}, "Ta"},
                      StringCase{"LongerThanDeliveredOddTail", {16, 3, 'T', 0, 'a'}, "T"},
                      StringCase{"NothingDelivered", {}, std::nullopt},
                      StringCase{"OnlyLengthByteDelivered", {8}, std::nullopt}),
    link_test::CaseName());

TEST(UsbCreateString, IndexZeroMakesNoRequest) {
    simulator::SimulatedBus bus;
    auto& device = bus.AddDevice();
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    bus.ListInterfaces(entries);
    std::unique_ptr<platform::UsbInterface> intf;
    entries[0]->CreateInterface(intf);

    EXPECT_EQ(usb_create_string(*intf, 0), std::nullopt);
    EXPECT_TRUE(device.record().controlRequests.empty());
}

TEST(UsbCreateString, FailedRequestGivesNone) {
    simulator::SimulatedBus bus;
    simulator::DeviceScript script;
    script.faults[simulator::UsbOperation::ControlRequest] = {platform::kUsbErrorPipe, 0};
    bus.AddDevice(script);
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    bus.ListInterfaces(entries);
    std::unique_ptr<platform::UsbInterface> intf;
    entries[0]->CreateInterface(intf);

    EXPECT_EQ(usb_create_string(*intf, 1), std::nullopt);
}

struct SubstringCase {
    const char* name;
    std::optional<std::string> deviceId;
    const char* key;
    std::optional<std::string> expected;
};

class Create1284SubstringTest : public ::testing::TestWithParam<SubstringCase> {};

TEST_P(Create1284SubstringTest, FindsTheField) {
    EXPECT_EQ(create_1284_substring(GetParam().deviceId, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceIds, Create1284SubstringTest,
    ::testing::Values(SubstringCase{"Middle", "MFG:Tamblor;MDL:LM-360R;CLS:PRINTER;", "MDL:", "LM-360R"},
                      SubstringCase{"KeyInAnyCase", "mfg:Tamblor;", "MFG:", "Tamblor"},
                      SubstringCase{"ValueKeepsCase", "MFG:TaMbLoR;", "MFG:", "TaMbLoR"},
                      SubstringCase{"SpacesAfterKeySkipped", "MFG:   Tamblor;", "MFG:", "Tamblor"},
                      SubstringCase{"SpacesBeforeSemicolonKept", "MFG:Tamblor ;", "MFG:", "Tamblor "},
                      SubstringCase{"OnlyBlankSpaceSkipped", "MFG:\tTamblor;", "MFG:", "\tTamblor"},
                      SubstringCase{"NoSemicolonRunsToEnd", "MDL:LM-360R", "MDL:", "LM-360R"},
                      SubstringCase{"KeyAtEnd", "CLS:PRINTER;MFG:", "MFG:", ""},
                      SubstringCase{"KeyThenOnlySpaces", "MFG:   ", "MFG:", ""},
                      SubstringCase{"KeyThenSemicolon", "MFG:;MDL:X;", "MFG:", ""},
                      SubstringCase{"FirstOccurrenceWins", "MFG:One;MFG:Two;", "MFG:", "One"},
                      SubstringCase{"KeyMissing", "MDL:LM-360R;", "MFG:", std::nullopt},
                      SubstringCase{"NoDeviceId", std::nullopt, "MFG:", std::nullopt}),
    link_test::CaseName());

struct CompareCase {
    const char* name;
    std::optional<std::string> target;
    std::optional<std::string> candidate;
    bool matches;
};

class CfCompareCStringTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CfCompareCStringTest, Matches) {
    const auto& target = GetParam().target;
    const int result = cfcomparecstring(target ? &*target : nullptr, GetParam().candidate, 8);
    EXPECT_EQ(result == 0, GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CfCompareCStringTest,
    ::testing::Values(CompareCase{"UnsetTargetMatchesMissing", std::nullopt, std::nullopt, true},
                      CompareCase{"EmptyTargetMatchesMissing", "", std::nullopt, true},
                      CompareCase{"EmptyTargetMatchesAnything", "", "Other", true},
                      CompareCase{"Equal", "Tamblor", "Tamblor", true},
                      CompareCase{"MissingCandidate", "Tamblor", std::nullopt, false},
                      CompareCase{"EmptyCandidate", "Tamblor", "", false},
                      CompareCase{"CaseDiffers", "Tamblor", "tamblor", false},
                      CompareCase{"TrailingSpace", "Tamblor", "Tamblor ", false},
                      CompareCase{"Prefix", "Tamblor", "Tamb", false},
                      CompareCase{"NulPaddedCandidate", "Tamblor", std::string("Tamblor\0\0", 9), true},
                      CompareCase{"NonAscii", "Tämblor", "Tämblor", true}),
    link_test::CaseName());

TEST(DecodeDeviceId, DecodesMacRoman) {
    EXPECT_EQ(cusb_detail::DecodeDeviceId("MFG:T\x8Amblor;"), "MFG:Tämblor;");
    EXPECT_EQ(cusb_detail::DecodeDeviceId(std::string_view("A\0B", 3)), std::string("A\0B", 3));
}

} // namespace
