#include "texts/WindowTexts.h"
#include "tests/app/UsbComFixture.h"

#include <QTimer>
#include <cmath>

namespace usbcomtest {
namespace {

using namespace protocol;

// A text as the window shows it: looked up, as it stands, or empty.
struct Shown {
    std::string_view key; // looked up when set
    const char* verbatim = nullptr;

    QString Text() const {
        if (!key.empty()) {
            return platform::Localized(key);
        }
        return verbatim != nullptr ? QString::fromLatin1(verbatim) : QString();
    }
};
Shown Key(std::string_view key) {
    return {key, nullptr};
}
Shown Verbatim(const char* text) {
    return {{}, text};
}
const Shown kEmptyText{};

struct Row {
    SettingKind kind;
    int value;
    Shown text;
    int selected; // -1: no item
};

const Row kRows[] = {
    {kPowerOn, 0, Key("PowerON_OFF"), 0},
    {kPowerOn, 1, Key("PowerON_ON"), 1},
    {kPowerOn, 2, Verbatim("OFF"), -1},
    {kPowerOn, -1, Verbatim("OFF"), -1},
    {kAutoPowerOff, 0, Verbatim("0"), 0},
    {kAutoPowerOff, 3, Verbatim("30"), 3},
    {kAutoPowerOff, 6, Verbatim("60"), 6},
    {kAutoPowerOff, 7, Verbatim("60"), -1},
    {kAutoPowerOff, -1, Verbatim("60"), -1},
    {kNetwork, 0, Key("NetworkSet1_1"), 0},
    {kNetwork, 2, Key("NetworkSet1_3"), 2},
    {kNetwork, 5, kEmptyText, -1},
    {kInfoPrint, 3, Key("InfoPrint_1"), 0},
    {kInfoPrint, 2, Key("InfoPrint_2"), 1},
    {kInfoPrint, 1, Key("InfoPrint_3"), 2},
    {kInfoPrint, 0, Key("InfoPrint_4"), -1}, // a text no list item carries, index 3 of 3
    {kInfoPrint, 9, Key("InfoPrint_1"), -1},
    {kInfoPrint, -128, Key("InfoPrint_1"), -1},
    {kCommandMode, 0, Key("Command_1"), -1}, // the command-mode list is left empty
    {kCommandMode, 1, Key("Command_2"), -1},
    {kCommandMode, 3, Key("Command_3"), -1},
    {kCommandMode, 2, kEmptyText, -1},
};

using ShowSettingTest = UsbComTest;

TEST_F(ShowSettingTest, ReplyValuesShowAsTheTableSaysWithEitherFlag) {
    for (const Row& row : kRows) {
        for (const std::int8_t flag : {0, 1}) {
            List(row.kind).setCurrentIndex(List(row.kind).count() - 1);
            com->ShowSetting(kLinkOk, flag, row.kind, row.value);
            const std::string where = "kind " + std::to_string(row.kind) + " value " +
                                      std::to_string(row.value) + " flag " + std::to_string(flag);
            EXPECT_EQ(Field(row.kind).text(), row.text.Text()) << where;
            EXPECT_EQ(List(row.kind).currentIndex(), row.selected) << where;
        }
    }
}

// A printer that answered badly is "Unknown"; one that is not there says so in the field.
TEST_F(ShowSettingTest, FailedExchangeSaysWhyAndKeepsTheChoice) {
    struct Case {
        LinkResult result;
        QString text;
    };
    const Case cases[] = {{kLinkNoPrinter, texts::NoPrinterField()},
                          {kLinkReadFailed, platform::Localized(kUnknownKey)},
                          {kLinkCommandWriteFailed, platform::Localized(kUnknownKey)}};
    for (const Case& c : cases) {
        for (const SettingRow& setting : Settings()) {
            const SettingKind kind = setting.kind;
            const int before = List(kind).currentIndex();
            com->ShowSetting(c.result, 0, kind, 1);
            EXPECT_EQ(Field(kind).text(), c.text) << kind;
            EXPECT_EQ(List(kind).currentIndex(), before) << kind;
        }
    }
}

TEST_F(ShowSettingTest, KindsWithoutFieldsChangeNothing) {
    for (const SettingKind kind : {0, kReset, 7, -1}) {
        com->ShowSetting(kLinkOk, 0, kind, 0);
        com->ShowSetting(kLinkReadFailed, 0, kind, 0);
    }
    for (const SettingRow& setting : Settings()) {
        const SettingKind kind = setting.kind;
        EXPECT_EQ(Field(kind).text(), QString::fromLatin1(kInitialText));
        EXPECT_EQ(List(kind).currentIndex(),
                  setting.firstChoice < List(kind).count() ? setting.firstChoice : -1);
    }
}

TEST_F(ShowSettingTest, SelectionChangesAreRemembered) {
    EXPECT_EQ(com->pscIndex(), 0);
    List(kAutoPowerOff).setCurrentIndex(4);
    com->comboBoxSelectionDidChange(&List(kAutoPowerOff));
    EXPECT_EQ(com->pscIndex(), 4);
    List(kNetwork).setCurrentIndex(-1);
    com->comboBoxSelectionDidChange(&List(kNetwork));
    EXPECT_EQ(com->pscIndex(), 0xFFFF);
    com->comboBoxSelectionDidChange(nullptr);
    EXPECT_EQ(com->pscIndex(), 0xFFFF);
}

TEST_F(ShowSettingTest, PausesReturn) {
    com->wait(0);
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    com->timeInterval(0.02);
    EXPECT_TRUE(ran) << "the event loop runs while it waits";
    com->timeInterval(-1);
    com->timeInterval(std::nan(""));
}

} // namespace
} // namespace usbcomtest
