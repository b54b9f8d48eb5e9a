// What the window tells assistive technologies, read through Qt's accessibility interfaces as the
// platform bridge (AT-SPI on Linux) reads them: every control named by its setting in every
// language, lists that still say their item, the band as a notification, and short field
// texts that fit. tests/app/desktop/ reads the same through the real accessibility bus.
#include "app/ApplicationServices.h"
#include "texts/ConnectionTexts.h"
#include "app/Vexo_MainController.h"
#include "simulator/SimulatedBus.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

QAccessibleInterface* Interface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

void Walk(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& into) {
    into.push_back(node);
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i)) {
            Walk(child, into);
        }
    }
}

class AccessibilityTest : public testing::TestWithParam<const char*> {
  protected:
    void Launch() {
        controller = std::make_unique<Vexo_MainController>(SharedProgressPanel(), CUsbComFactory(bus));
        controller->applicationDidFinishLaunching();
    }
    template <typename Widget> Widget* Find(const char* name) const {
        return controller->window()->findChild<Widget*>(QString::fromLatin1(name));
    }

    apptest::ScopedCatalogues catalogues{QLocale(QString::fromLatin1(GetParam()))};
    testsupport::ScriptedDialogs dialogs;
    simulator::SimulatedBus bus;
    std::unique_ptr<Vexo_MainController> controller;
};

// Every control a user operates, shown or hidden, says what it is for, and no two shown ones say
// the same: "Read" alone, or a list named by its item, tells a screen reader user nothing.
TEST_P(AccessibilityTest, EveryControlIsNamedAndNoTwoAlike) {
    bus.AddDevice();
    Launch();
    std::vector<QAccessibleInterface*> nodes;
    Walk(Interface(controller->window()), nodes);
    QSet<QString> shown;
    int controls = 0;
    for (QAccessibleInterface* node : nodes) {
        const QAccessible::Role role = node->role();
        if (role != QAccessible::ComboBox && role != QAccessible::EditableText &&
            role != QAccessible::PushButton && role != QAccessible::PageTab) {
            continue;
        }
        ++controls;
        const QString name = node->text(QAccessible::Name);
        EXPECT_FALSE(name.trimmed().isEmpty()) << node->object()->objectName().toStdString();
        if (!node->state().invisible && role != QAccessible::PageTab) {
            const QString key = QString::number(role) + QLatin1Char('|') + name;
            EXPECT_FALSE(shown.contains(key)) << "two shown controls are named " << name.toStdString();
            shown.insert(key);
        }
    }
    EXPECT_GE(controls, 25) << "the walk missed the window's controls";
}

// A list is named by its box and caption; its item is its value and its description.
TEST_P(AccessibilityTest, ListsNameTheirSettingAndSayTheirItem) {
    bus.AddDevice();
    Launch();
    const char* const lists[][3] = {
        {"powerOnSettingsComb", "powerOnBox", "powerOnSettingsText"},
        {"autoPowerOffSettingsComb", "autoPowerOffBox", "autoPowerOffSettingsText"},
        {"networkSetSettingsComb", "networkSetBox", "networkSetSettingsText"},
        {"infoPrintSettingsComb", "infoPrintBox", "infoPrintSettingsText"},
        {"commandSettingsComb", "commandBox", "commandSettingsText"}};
    for (const auto& row : lists) {
        auto* list = Find<QComboBox>(row[0]);
        QString caption = Find<QLabel>(row[2])->text();
        caption.remove(QRegularExpression(QStringLiteral("[:：]$")));
        QAccessibleInterface* spoken = Interface(list);
        EXPECT_EQ(spoken->role(), QAccessible::ComboBox);
        EXPECT_EQ(spoken->text(QAccessible::Name), Find<QGroupBox>(row[1])->title() + ": " + caption);
        EXPECT_EQ(spoken->text(QAccessible::Value), list->currentText()) << row[0];
        EXPECT_EQ(spoken->text(QAccessible::Description), list->currentText()) << row[0];
        if (list->count() > 1) {
            list->setCurrentIndex((list->currentIndex() + 1) % list->count());
            EXPECT_EQ(spoken->text(QAccessible::Description), list->currentText()) << row[0];
        }
    }
    QAccessibleInterface* chooser = Interface(Find<QComboBox>("printerChoice"));
    EXPECT_FALSE(chooser->text(QAccessible::Name).contains(QLatin1Char('&')));
    EXPECT_FALSE(chooser->text(QAccessible::Name).endsWith(QLatin1Char(':')));
    EXPECT_FALSE(chooser->text(QAccessible::Name).isEmpty());
}

// The band is a notification, which screen readers announce as it changes (tests/app/desktop hears
// them on the bus; offscreen, Qt sends no accessibility events): its name is its news.
TEST_P(AccessibilityTest, TheBandIsANotificationNamedByItsNews) {
    Launch();
    auto* band = Find<QLabel>("connectionText");
    EXPECT_EQ(Interface(band)->role(), QAccessible::Notification);
    EXPECT_EQ(Interface(band)->text(QAccessible::Name), band->text());
    EXPECT_TRUE(band->text().startsWith(ConnectionHeadline({Connection::NoPrinter, 0}, nullptr)));

    bus.AddDevice();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return controller->connection().connection == Connection::Connected; }));
    EXPECT_EQ(Interface(band)->text(QAccessible::Name), band->text());
    EXPECT_FALSE(band->text().startsWith(ConnectionHeadline({Connection::NoPrinter, 0}, nullptr)));
}

// Without a printer the fields say why in a word or two that fit the narrowest of them, whatever
// keeps the printer away; the band and the field's description say the whole of it.
TEST_P(AccessibilityTest, UnreachableFieldTextsFitTheNarrowestField) {
    Launch();
    controller->window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(controller->window()));
    auto* narrowest = Find<QLineEdit>("autoPowerOffCurrentValue");
    QStyleOptionFrame frame;
    frame.initFrom(narrowest);
    frame.rect = narrowest->rect();
    frame.lineWidth = narrowest->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, narrowest);
    constexpr int kLineEditMargin = 2; // QLineEdit's own, either side of its text
    const int room =
        narrowest->style()->subElementRect(QStyle::SE_LineEditContents, &frame, narrowest).width() -
        2 * kLineEditMargin;
    for (const Connection connection :
         {Connection::NoPrinter, Connection::Refused, Connection::InUse, Connection::OpenFailed}) {
        const QString text = UnreachableFieldText({connection, -1});
        EXPECT_FALSE(text.isEmpty());
        EXPECT_LE(narrowest->fontMetrics().horizontalAdvance(text), room) << text.toStdString();
    }
    EXPECT_EQ(narrowest->text(), UnreachableFieldText({Connection::NoPrinter, 0}));
    EXPECT_EQ(Interface(narrowest)->text(QAccessible::Description),
              ConnectionHeadline({Connection::NoPrinter, 0}, nullptr));
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibilityTest, testing::Values("en", "de", "ja"),
                         [](const auto& instance) { return std::string(instance.param); });

} // namespace
