// What a user of a Linux desktop tool expects beyond the printer: keys, menus, names for screen
// readers, the command line, and every text in the user's language.
#include "app/MenuTitles.h"
#include "app/Vexo_MainController.h"
#include "texts/WindowTexts.h"
#include "platform/core/Localized.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/app/Recorders.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

namespace {

using platform::Localized;

class DesktopTest : public testing::Test {
  protected:
    template <typename Widget> Widget* Find(const char* name) const {
        return controller.window()->findChild<Widget*>(QString::fromLatin1(name));
    }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    apptest::Log log;
    apptest::RecordingPanel panel{log};
    Vexo_MainController controller{panel, apptest::RecordingFactory(log)};
};

TEST_F(DesktopTest, EnterAndReturnPressTheFocusedButton) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        const qsizetype mark = log.entries.size();
        QTest::keyClick(Find<QPushButton>("networkSetApplyButton"), key);
        EXPECT_EQ(log.entries.mid(mark),
                  (QStringList{"open ProgressbarWindowMessage ProgressWindowTitle", "set 0 3", "close"}));
    }
}

TEST_F(DesktopTest, EveryButtonOfABoxNamesItsSettingForScreenReaders) {
    QStringList names;
    for (QGroupBox* box : controller.window()->findChildren<QGroupBox*>()) {
        if (box->isHidden()) {
            continue;
        }
        for (const QPushButton* button : box->findChildren<QPushButton*>()) {
            EXPECT_TRUE(button->accessibleName().contains(box->title()))
                << button->objectName().toStdString();
            names << button->accessibleName();
        }
    }
    EXPECT_EQ(names.size(), 8);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 8);
    EXPECT_EQ(Find<QPushButton>("powerTabOutPutButton")->accessibleName(),
              "Save Power settings as a command file");
}

TEST_F(DesktopTest, FileMenuOpensSavesAndQuitsHelpMenuHasAbout) {
    const QList<QAction*> menus = Find<QMenuBar>("menuBar")->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Help");
    const auto roles = [](const QAction* menu) {
        QList<QAction::MenuRole> found;
        for (const QAction* item : menu->menu()->actions()) {
            if (!item->isSeparator()) {
                found << item->menuRole();
            }
        }
        return found;
    };
    EXPECT_EQ(roles(menus[0]), (QList<QAction::MenuRole>{QAction::TextHeuristicRole, QAction::TextHeuristicRole,
                                                          QAction::QuitRole}));
    EXPECT_EQ(Find<QAction>("openAction")->shortcut(), QKeySequence::Open);
    EXPECT_EQ(roles(menus[1]), QList<QAction::MenuRole>{QAction::AboutRole});
    EXPECT_EQ(Find<QAction>("quitAction")->text(),
              MenuItemTitle(Localized("terminateMenuTitle"), Localized("MainWindowTitle")));

    dialogs.AnswerSavePanel(std::nullopt);
    Find<QAction>("saveAction")->trigger();
    EXPECT_EQ(dialogs.savePanels.size(), 1U);
}

// Run as users run it: no window system is needed to answer.
TEST(CommandLine, HelpAndVersionAnswerOnTheTerminal) {
    struct Case {
        const char* option;
        const char* expected;
    };
    for (const Case& c :
         {Case{"--version", "lm360r-settings " LM360R_VERSION "\n"}, Case{"--help", "Usage:"}}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LM360R_SETTINGS_PATH), {QString::fromLatin1(c.option)});
        ASSERT_TRUE(program.waitForFinished(20000)) << c.option;
        EXPECT_EQ(program.exitCode(), 0) << c.option;
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).startsWith(c.expected)) << c.option;
    }
}

// Qt's own dialogs speak the user's language too.
TEST(Translations, QtsOwnTextsFollowTheLanguage) {
    const apptest::ScopedCatalogues german{QLocale(QLocale::German)};
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
}

// Every text written in code exists in each catalogue: a missing one would show its id, which has
// neither a blank nor a letter beyond ASCII.
TEST(Translations, EveryWindowTextIsInEveryCatalogue) {
    const QString x = QStringLiteral("X");
    const std::vector<std::function<QString()>> textsInCode{
        texts::LookingForPrinter,
        [&] { return texts::PrinterInUse(x, x, x); },
        [&] { return texts::PrinterInUseWithoutSerial(x, x); },
        texts::NoPrinter,
        texts::NoPrinterRemedy,
        texts::AccessRefused,
        texts::AccessRefusedRemedy,
        texts::PrinterBusy,
        texts::PrinterBusyRemedy,
        [] { return texts::OpenFailed(-1); },
        texts::OpenFailedRemedy,
        texts::PrinterChoiceLabel,
        texts::NoAnswer,
        texts::ConnectionFailed,
        [&] { return texts::ReadFailed(x); },
        [&] { return texts::WriteFailed(x); },
        [&] { return texts::ReadBackFailed(x); },
        [&] { return texts::ValueMismatch(x, x, x); },
        texts::ValueMismatchShown,
        texts::ResetFailed,
        texts::ResetReadBackFailed,
        texts::ResetConfirmButton,
        [&] { return texts::CommandFileFilter(x); },
        [&] { return texts::SavedAs(x); },
        [&] { return texts::NotWritten(x, x); },
        [&] { return texts::AboutVersion(x); },
        texts::AboutDescription,
        texts::AboutLicence,
        [&] { return texts::ReadButtonName(x); },
        [&] { return texts::ApplyButtonName(x); },
        [&] { return texts::SaveButtonName(x); }};
    for (const char* language : {"en", "de", "ja"}) {
        QTranslator catalogue;
        ASSERT_TRUE(catalogue.load(QStringLiteral(":/i18n/lm360r_%1.qm").arg(QLatin1String(language))));
        QCoreApplication::installTranslator(&catalogue);
        for (std::size_t i = 0; i < textsInCode.size(); ++i) {
            const QString text = textsInCode[i]();
            const bool translated = std::any_of(
                text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' ') || c.unicode() > 127; });
            EXPECT_TRUE(translated) << language << " text " << i << ": " << text.toStdString();
        }
        QCoreApplication::removeTranslator(&catalogue);
    }
}

} // namespace
