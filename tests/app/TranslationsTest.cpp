#include "app/Vexo_MainController.h"
#include "platform/core/Localized.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/app/Recorders.h"

#include <QMainWindow>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

using platform::Localized;

// Every key the application looks up, in every part of it.
const char* const kKeys[] = {"MainWindowTitle",
                             "ResetsButtonTitle",
                             "ExitButtonTitle",
                             "Tab1Name",
                             "Tab2Name",
                             "SaveCommandButton",
                             "PowerOnBoxName",
                             "AutoPowerOffBoxName",
                             "NetworkSetName",
                             "InfoPrintBoxName",
                             "CurrentSetting",
                             "CurrentButtonTitle",
                             "Settings",
                             "ApplyButtonTitle",
                             "Munutes",
                             "AutoPowerOffLabel",
                             "PowerON_OFF",
                             "PowerON_ON",
                             "NetworkSet1_1",
                             "NetworkSet1_2",
                             "NetworkSet1_3",
                             "InfoPrint_1",
                             "InfoPrint_2",
                             "InfoPrint_3",
                             "InfoPrint_4",
                             "Command_1",
                             "Command_2",
                             "Command_3",
                             "Unknown",
                             "WindowMenuTitle",
                             "AboutMenuTitle",
                             "terminateMenuTitle",
                             "ProgressWindowTitle",
                             "ProgressbarWindowMessage",
                             "OKButton",
                             "CancelButton",
                             "ResetMassege",
                             "Util_FileCreate",
                             "Util_FileError",
                             "Util_GetCommandError",
                             "Util_SetCommandError",
                             "Util_MatchingError",
                             "PrinterSelectionText",
                             "Err_AppPrinterDirverNotInstalled"};

class CatalogueTest : public testing::TestWithParam<const char*> {};

TEST_P(CatalogueTest, HasEveryKeyWithUsableText) {
    QTranslator catalogue;
    ASSERT_TRUE(catalogue.load(QStringLiteral(":/i18n/lm360r_%1.qm").arg(QLatin1String(GetParam()))));
    for (const char* key : kKeys) {
        const QString text = catalogue.translate(nullptr, key);
        EXPECT_FALSE(text.isEmpty()) << key;
    }
    // The application's title goes into the About and Quit items exactly once.
    for (const char* key : {"AboutMenuTitle", "terminateMenuTitle"}) {
        EXPECT_EQ(catalogue.translate(nullptr, key).count(QStringLiteral("%1")), 1) << key;
    }
    // A code and ")" follow these directly.
    for (const char* key : {"Util_GetCommandError", "Util_SetCommandError", "Util_MatchingError"}) {
        EXPECT_TRUE(
            catalogue.translate(nullptr, key).contains(QRegularExpression(QStringLiteral("\\(\\S+ $"))))
            << key;
    }
    // A window title cannot show a mnemonic.
    EXPECT_FALSE(catalogue.translate(nullptr, "MainWindowTitle").contains(QLatin1Char('&')));
}

INSTANTIATE_TEST_SUITE_P(Languages, CatalogueTest, testing::Values("en", "de", "ja"),
                         [](const auto& instance) { return std::string(instance.param); });

struct LocaleCase {
    const char* locale;
    const char* exitButton;
};

class LocaleTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleTest, FollowsTheUsersLanguageElseEnglish) {
    apptest::ScopedCatalogues catalogues{QLocale(QString::fromLatin1(GetParam().locale))};
    EXPECT_EQ(Localized("ExitButtonTitle"), QString::fromUtf8(GetParam().exitButton));
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleTest,
                         testing::Values(LocaleCase{"de_DE", "&Beenden"}, LocaleCase{"de_AT", "&Beenden"},
                                         LocaleCase{"ja_JP", "終了(&Q)"}, LocaleCase{"en_GB", "&Quit"},
                                         LocaleCase{"fr_FR", "&Quit"}, LocaleCase{"C", "&Quit"}),
                         [](const auto& instance) { return std::string(instance.param.locale); });

TEST(MissingTexts, ShowTheirKeys) {
    apptest::ScopedCatalogues none;
    apptest::Log log;
    apptest::RecordingPanel panel{log};
    Vexo_MainController controller{panel, apptest::RecordingFactory(log)};
    EXPECT_EQ(controller.window()->findChild<QTabWidget*>("utilityTab")->tabText(0), "Tab1Name");
    EXPECT_EQ(controller.window()->windowTitle(), "MainWindowTitle");
}

} // namespace
