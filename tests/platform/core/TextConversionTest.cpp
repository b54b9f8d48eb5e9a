#include "platform/core/TextConversion.h"

#include <gtest/gtest.h>

namespace {

using platform::ConvertText;

struct ConversionCase {
    const char* name;
    std::string bytes;
    const char* from;
    const char* to;
    std::optional<std::string> expected;
};

class ConvertTextTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertTextTest, ConvertsWholeOrNothing) {
    EXPECT_EQ(ConvertText(GetParam().bytes, GetParam().from, GetParam().to), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, ConvertTextTest,
    ::testing::Values(
        ConversionCase{"MacRomanUpperHalf", "\x80\x8A\xA5", "MACINTOSH", "UTF-8", "Ää•"},
        ConversionCase{"Empty", "", "MACINTOSH", "UTF-8", ""},
        ConversionCase{"Utf16", std::string("T\0\xE4\0", 4), "UTF-16LE", "UTF-8", "Tä"},
        ConversionCase{"Utf16OddTail", std::string("T\0a", 3), "UTF-16LE", "UTF-8", std::nullopt},
        ConversionCase{"InvalidUtf8", "\xFF", "UTF-8", "UTF-16LE", std::nullopt},
        ConversionCase{"NotInMacRoman", "\xE2\x82\xAC\xE2\x98\x83", "UTF-8", "MACINTOSH", std::nullopt},
        ConversionCase{"UnknownCharset", "x", "NO-SUCH-CHARSET", "UTF-8", std::nullopt},
        ConversionCase{"LongerThanOneChunk", std::string(1000, '\xA5'), "MACINTOSH", "UTF-8",
                       [] {
                           std::string out;
                           for (int i = 0; i < 1000; ++i) {
                               out += "•";
                           }
                           return out;
                       }()}),
    [](const ::testing::TestParamInfo<ConversionCase>& param) { return std::string(param.param.name); });

} // namespace
