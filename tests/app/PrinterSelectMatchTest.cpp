#include "app/PrinterSelectMatch.h"

#include "tests/app/PrintQString.h"

#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace {

struct MatchCase {
    const char* what;
    QStringList names;
    QStringList types;
    QStringList expected;
};

std::string CaseName(const testing::TestParamInfo<MatchCase>& param) {
    std::string name = param.param.what;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) {
            ch = '_';
        }
    }
    return name;
}

class MatchingPrinterNamesTest : public testing::TestWithParam<MatchCase> {};

TEST_P(MatchingPrinterNamesTest, ListsTheNamesOfQueuesOfTheTargetModel) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchingPrinterNames(c.names, c.types), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Types, MatchingPrinterNamesTest,
    testing::Values(MatchCase{"exact type", {"a"}, {"Tamblor LM-360R"}, {"a"}},
                    MatchCase{"upper case", {"a"}, {"TAMBLOR LM-360R"}, {"a"}},
                    MatchCase{"lower case", {"a"}, {"tamblor lm-360r"}, {"a"}},
                    MatchCase{"suffix after the model", {"a"}, {"Tamblor LM-360R, driver 1.2"}, {"a"}},
                    MatchCase{"suffix glued to the model", {"a"}, {"Tamblor LM-360RX"}, {"a"}},
                    MatchCase{"target without its last character", {"a"}, {"Tamblor LM-360"}, {}},
                    MatchCase{"shorter than the target", {"a"}, {"LM-360R"}, {}},
                    MatchCase{"empty type", {"a"}, {""}, {}},
                    MatchCase{"another model of the same maker", {"a"}, {"Tamblor LM-3600"}, {}},
                    MatchCase{"leading blank", {"a"}, {" Tamblor LM-360R"}, {}},
                    MatchCase{"model before maker", {"a"}, {"LM-360R Tamblor"}, {}},
                    MatchCase{"no queues", {}, {}, {}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Lists, MatchingPrinterNamesTest,
    testing::Values(MatchCase{"listed under the name, not the type",
                              {"Front desk labels"},
                              {"Tamblor LM-360R"},
                              {"Front desk labels"}},
                    MatchCase{"platform order kept, others dropped",
                              {"zeta", "mid", "alpha", "laser"},
                              {"Tamblor LM-360R", "TAMBLOR LM-360R", "tamblor lm-360r", "Corvel Laser 2"},
                              {"zeta", "mid", "alpha"}},
                    MatchCase{"duplicate names kept",
                              {"labels", "labels"},
                              {"Tamblor LM-360R", "Tamblor LM-360R"},
                              {"labels", "labels"}},
                    MatchCase{"more types than names", {"a"}, {"Tamblor LM-360R", "Tamblor LM-360R"}, {"a"}},
                    MatchCase{"more names than types", {"a", "b"}, {"Tamblor LM-360R"}, {"a"}}),
    CaseName);

} // namespace
