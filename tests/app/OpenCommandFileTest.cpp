// A saved command file opened in the window: its values chosen without touching the printer, the
// fields that differ marked, only those written; a bad file changes nothing and says why.
#include "app/Vexo_MainController.h"
#include "protocol/CommandFile.h"
#include "tests/app/Catalogues.h"
#include "tests/app/Recorders.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/Selections.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class OpenCommandFileTest : public testing::Test {
  protected:
    template <typename Widget> Widget* Find(const char* name) const {
        return controller.window()->findChild<Widget*>(QString::fromLatin1(name));
    }
    QString Write(const QByteArray& bytes) {
        const QString path = folder.filePath(QStringLiteral("settings.bin"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    static QByteArray Bytes(const std::vector<std::uint8_t>& bytes) {
        return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
    }
    // Whether the field is marked as differing from the file.
    bool Marked(const char* field) const {
        for (const QAction* action : Find<QLineEdit>(field)->actions()) {
            if (action->isVisible()) {
                return true;
            }
        }
        return false;
    }

    QTemporaryDir folder;
    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    apptest::Log log;
    apptest::RecordingPanel panel{log};
    Vexo_MainController controller{panel, apptest::RecordingFactory(log)};
};

// The printer holds power on, 60 min, network 3; the file asks for power on, 20 min, network 1.
TEST_F(OpenCommandFileTest, AGoodFileIsChosenMarkedAndOnlyWhatDiffersIsApplied) {
    log.held = {{protocol::kPowerOn, 1}, {protocol::kAutoPowerOff, 6}, {protocol::kNetwork, 2}};
    Find<QTabWidget>("utilityTab")->setCurrentIndex(1);
    const qsizetype before = log.entries.size();
    controller.openCommandFile(
        Write(Bytes(protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 2, 0, 0)))));
    for (const QString& entry : log.entries.mid(before)) {
        EXPECT_TRUE(entry.startsWith("selection ")) << "the printer is not touched: " << entry.toStdString();
    }
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(Find<QTabWidget>("utilityTab")->currentIndex(), 0) << "the file's tab is shown";
    EXPECT_EQ(Find<QComboBox>("autoPowerOffSettingsComb")->currentIndex(), 2);
    EXPECT_EQ(Find<QComboBox>("networkSetSettingsComb")->currentIndex(), 0);
    EXPECT_FALSE(Marked("powerOnCurrentValue"));
    EXPECT_TRUE(Marked("autoPowerOffCurrentValue"));
    EXPECT_TRUE(Marked("networkSetCurrentValue"));
    EXPECT_EQ(Find<QLineEdit>("autoPowerOffCurrentValue")->accessibleDescription(),
              "The command file sets 20");
    QPushButton* apply = Find<QPushButton>("powerTabApplyFileButton");
    EXPECT_TRUE(apply->isVisibleTo(controller.window()) && apply->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("printTabApplyFileButton")->isVisibleTo(controller.window()));

    log.entries.clear();
    apply->click();
    // The tab's settings go to the service, which writes only what differs.
    EXPECT_EQ(log.entries, (QStringList{"open ProgressbarWindowMessage ProgressWindowTitle",
                                        "apply 1=1 2=2 3=0", "close"}));
    log.held = {{protocol::kPowerOn, 1}, {protocol::kAutoPowerOff, 2}, {protocol::kNetwork, 0}};
    Find<QPushButton>("powerOnApplyButton")->click(); // any exchange brings the marks up to date
    EXPECT_FALSE(Marked("autoPowerOffCurrentValue"));
    EXPECT_FALSE(apply->isEnabled()) << "nothing differs any more";
}

TEST_F(OpenCommandFileTest, ABadFileSaysWhatIsWrongAndChangesNothing) {
    const QByteArray good = Bytes(protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 2, 0, 0)));
    struct Case {
        const char* name;
        std::optional<QByteArray> content; // none: no such file
        const char* reason;                // a part of the alert's explanation
    };
    const Case cases[] = {
        {"missing", std::nullopt, "could not be read"},
        {"not a command file", "{\"settings\": []}", "At byte 0"},
        {"cut short", good.left(good.size() - 3), "At byte"},
        {"too large", QByteArray(70 * 1024, '\x1b'), "larger than any command file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = c.content ? Write(*c.content) : folder.filePath(QStringLiteral("none.bin"));
        dialogs.alerts.clear();
        const int chosen = Find<QComboBox>("autoPowerOffSettingsComb")->currentIndex();
        controller.openCommandFile(path);
        ASSERT_EQ(dialogs.alerts.size(), 1U);
        EXPECT_TRUE(dialogs.alerts[0].text.contains("cannot be opened as a command file"));
        EXPECT_TRUE(dialogs.alerts[0].informativeText.contains(QLatin1String(c.reason)))
            << dialogs.alerts[0].informativeText.toStdString();
        EXPECT_EQ(Find<QComboBox>("autoPowerOffSettingsComb")->currentIndex(), chosen);
        EXPECT_FALSE(Find<QPushButton>("powerTabApplyFileButton")->isVisibleTo(controller.window()));
    }
}

} // namespace
