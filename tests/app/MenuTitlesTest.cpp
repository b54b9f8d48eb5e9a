#include "app/MenuTitles.h"

#include "platform/core/Localized.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

using platform::Localized;

struct FormatCase {
    const char* format;
    const char* expected;
};

class MenuItemTitleTest : public testing::TestWithParam<FormatCase> {};

TEST_P(MenuItemTitleTest, FillsThePlaceholderOnce) {
    EXPECT_EQ(MenuItemTitle(QString::fromUtf8(GetParam().format), QStringLiteral("My App")),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Formats, MenuItemTitleTest,
                         testing::Values(FormatCase{"&About %1", "&About My App"},
                                         FormatCase{"%1 を終了(&Q)", "My App を終了(&Q)"},
                                         FormatCase{"About", "About"},
                                         FormatCase{"Quit %2", "Quit %2"}, // not our placeholder
                                         FormatCase{"", ""}));

// A menu bar built as a test needs it, with the application's English texts.
class MenuWalkTest : public testing::Test {
  protected:
    QMenu* AddMenu(const QString& title) { return bar.addMenu(title); }
    static QAction* AddItem(QMenu* menu, const QString& title, QAction::MenuRole role) {
        QAction* action = menu->addAction(title);
        action->setMenuRole(role);
        return action;
    }
    QString About() const { return MenuItemTitle(Localized("AboutMenuTitle"), QStringLiteral("App")); }
    QString Quit() const { return MenuItemTitle(Localized("terminateMenuTitle"), QStringLiteral("App")); }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    QMenuBar bar;
};

TEST_F(MenuWalkTest, RetitlesTheWindowMenuAndFindsItemsByRoleWherever) {
    QMenu* file = AddMenu("File");
    QAction* quit = AddItem(file, "Exit", QAction::QuitRole);
    QAction* open = AddItem(file, "Open", QAction::NoRole);
    QMenu* window = AddMenu("Window");
    QAction* plain = AddItem(window, "Minimize", QAction::TextHeuristicRole);
    QAction* about = AddItem(window, "Info", QAction::AboutRole);
    bar.addAction("Loose item"); // no submenu: passed over

    RetitleMenus(bar, QStringLiteral("App"));

    EXPECT_EQ(file->title(), "File");
    EXPECT_EQ(window->title(), Localized("WindowMenuTitle"));
    EXPECT_EQ(quit->text(), Quit());
    EXPECT_EQ(about->text(), About());
    EXPECT_EQ(open->text(), "Open");
    EXPECT_EQ(plain->text(), "Minimize");
    EXPECT_NE(About(), "Info");
}

TEST_F(MenuWalkTest, OnlyTheExactWindowTitleIsRetitled) {
    QMenu* lower = AddMenu("window");
    QMenu* blank = AddMenu("Window ");
    QMenu* mnemonic = AddMenu("&Window");
    RetitleMenus(bar, QStringLiteral("App"));
    EXPECT_EQ(lower->title(), "window");
    EXPECT_EQ(blank->title(), "Window ");
    EXPECT_EQ(mnemonic->title(), "&Window");
}

TEST_F(MenuWalkTest, ItemsOfNestedMenusKeepTheirTitles) {
    QMenu* help = AddMenu("Help");
    QMenu* more = help->addMenu("More");
    QAction* nestedAbout = AddItem(more, "Nested About", QAction::AboutRole);
    QAction* nestedQuit = AddItem(more, "Nested Quit", QAction::QuitRole);
    RetitleMenus(bar, QStringLiteral("App"));
    EXPECT_EQ(nestedAbout->text(), "Nested About");
    EXPECT_EQ(nestedQuit->text(), "Nested Quit");
    EXPECT_EQ(more->title(), "More");
}

TEST_F(MenuWalkTest, ASecondWalkGivesTheSameItemTitles) {
    QMenu* window = AddMenu("Window");
    QAction* about = AddItem(window, "About", QAction::AboutRole);
    RetitleMenus(bar, QStringLiteral("App"));
    RetitleMenus(bar, QStringLiteral("App"));
    EXPECT_EQ(about->text(), About());
    EXPECT_EQ(window->title(), Localized("WindowMenuTitle"));
}

} // namespace
