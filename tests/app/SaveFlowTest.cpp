#include "app/Vexo_MainController.h"
#include "platform/core/Localized.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/app/Recorders.h"
#include "tests/support/ScriptedDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using platform::Localized;

const QByteArray kPowerFileAtLaunch = QByteArray::fromHex("1B69554F103436001800000000000000"
                                                          "1B6961011B69557000001B69554100061B69584B32010002");
const QByteArray kPrintFileAtLaunch = QByteArray::fromHex("1B69554F103436001200000000000000"
                                                          "1B6961011B69586F320100031B6955610001");

class SaveFlowTest : public testing::Test {
  protected:
    void Press(const char* button) {
        controller.window()->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    QString PathIn(const QString& name) const { return dir.filePath(name); }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void Put(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    apptest::Log log;
    apptest::RecordingPanel panel{log};
    Vexo_MainController controller{panel, apptest::RecordingFactory(log)};
    QTemporaryDir dir;
    qsizetype mark = log.entries.size();
};

TEST_F(SaveFlowTest, CancelEndsSilently) {
    dialogs.AnswerSavePanel(std::nullopt);
    Press("powerTabOutPutButton");
    ASSERT_EQ(dialogs.savePanels.size(), 1U);
    EXPECT_EQ(dialogs.savePanels[0].directory, QDir::homePath());
    EXPECT_EQ(dialogs.savePanels[0].proposedName, "tbsetcmd");
    EXPECT_EQ(dialogs.savePanels[0].extension, "bin");
    EXPECT_EQ(dialogs.savePanels[0].filterName, "Command files (*.bin)");
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(log.entries.mid(mark), QStringList());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

struct SavedFileCase {
    const char* button;
    QByteArray expected;
};

class SavedFileTest : public SaveFlowTest, public testing::WithParamInterface<SavedFileCase> {};

TEST_P(SavedFileTest, WritesTheTabsGroupWholeAndSaysSo) {
    const QString path = PathIn("settings.bin");
    Put(path, QByteArray(300, 'x')); // an older, longer file of the same name is replaced whole
    bool panelShownAtAlert = false;
    dialogs.onAlert = [&](const auto&) { panelShownAtAlert = panel.shown; };
    dialogs.AnswerSavePanel(path);

    Press(GetParam().button);

    EXPECT_EQ(Contents(path), GetParam().expected);
    EXPECT_EQ(dialogs.AlertTexts(), QStringList{Localized("Util_FileCreate")});
    EXPECT_EQ(dialogs.alerts[0].informativeText, "Saved as " + path) << "the notice names the file";
    EXPECT_EQ(dialogs.alerts[0].rejectButton, QString());
    EXPECT_TRUE(panelShownAtAlert);
    EXPECT_EQ(log.entries.mid(mark),
              (QStringList{"open ProgressbarWindowMessage ProgressWindowTitle", "close"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.bin"}); // no temporary left
}

INSTANTIATE_TEST_SUITE_P(Tabs, SavedFileTest,
                         testing::Values(SavedFileCase{"powerTabOutPutButton", kPowerFileAtLaunch},
                                         SavedFileCase{"printTabOutPutButton", kPrintFileAtLaunch}),
                         [](const auto& instance) { return std::string(instance.param.button); });

TEST_F(SaveFlowTest, SavesTheChoicesShownWhenSaving) {
    controller.window()->findChild<QComboBox*>("powerOnSettingsComb")->setCurrentIndex(1);
    controller.window()->findChild<QComboBox*>("autoPowerOffSettingsComb")->setCurrentIndex(3);
    controller.window()->findChild<QComboBox*>("networkSetSettingsComb")->setCurrentIndex(0);
    const QString path = PathIn("chosen.bin");
    dialogs.AnswerSavePanel(path);
    Press("powerTabOutPutButton");
    EXPECT_EQ(Contents(path).right(20), QByteArray::fromHex("1B69557000011B69554100031B69584B32010000"));
}

// Writing fails: the old file stays exactly as it was, the user is told, the panel closes.
class FailedSaveTest : public SaveFlowTest {
  protected:
    void ExpectFailureReported() {
        EXPECT_EQ(dialogs.AlertTexts(), QStringList{Localized("Util_FileError")});
        EXPECT_EQ(dialogs.alerts[0].icon, platform::AlertIcon::Warning);
        EXPECT_EQ(log.entries.mid(mark),
                  (QStringList{"open ProgressbarWindowMessage ProgressWindowTitle", "close"}));
    }
};

TEST_F(FailedSaveTest, MissingDirectory) {
    const QString path = PathIn("missing/settings.bin");
    dialogs.AnswerSavePanel(path);
    Press("powerTabOutPutButton");
    ExpectFailureReported();
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(FailedSaveTest, PathIsADirectory) {
    const QString path = PathIn("taken.bin");
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.bin"));
    dialogs.AnswerSavePanel(path);
    Press("printTabOutPutButton");
    ExpectFailureReported();
    EXPECT_TRUE(QFileInfo(path).isDir());
}

// The disk fills up: the size limit lets the temporary file take only part of the command file.
TEST_F(FailedSaveTest, DiskFullLeavesTheOldFileIntact) {
    const QString path = PathIn("settings.bin");
    const QByteArray old("previous command file");
    Put(path, old);
    dialogs.AnswerSavePanel(path);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Press("powerTabOutPutButton");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ExpectFailureReported();
    EXPECT_EQ(Contents(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.bin"});
}

} // namespace
