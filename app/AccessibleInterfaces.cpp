#include "app/AccessibleInterfaces.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVariant>

namespace {

// The dynamic property that marks an announcing label.
constexpr const char* kAnnouncesProperty = "lm360rAnnounces";
// The dynamic property that says a list tells of its item changing.
constexpr const char* kDescribedProperty = "lm360rDescribed";

QString ShowMenuAction() {
    return QAccessibleActionInterface::showMenuAction();
}

QString PressAction() {
    return QAccessibleActionInterface::pressAction();
}

// Qt's own list interface, but named by its accessible name, with its item as its description, and
// with one more action. On Linux, Qt 6.4 offers a list's item nowhere but in its name; a screen
// reader reads the description after the name ("Network: New setting, combo box, Mode 3").
class NamedComboBox final : public QAccessibleWidget {
  public:
    explicit NamedComboBox(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {
        if (!list->property(kDescribedProperty).toBool()) { // once, should Qt make the interface again
            list->setProperty(kDescribedProperty, true);
            QObject::connect(list, &QComboBox::currentIndexChanged, list, [list] {
                QAccessibleEvent changed(list, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&changed);
            });
        }
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return Item();
        }
        if (list()->accessibleName().isEmpty() && kind == QAccessible::Name) {
            return Item(); // unnamed, it says at least what it holds
        }
        if (!list()->accessibleName().isEmpty() && kind == QAccessible::Description &&
            list()->accessibleDescription().isEmpty()) {
            return Item();
        }
        return QAccessibleWidget::text(kind);
    }

    // The popup's item list, and the line edit of an editable list.
    int childCount() const override { return list()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(list()->view());
        }
        if (index == 1 && list()->isEditable()) {
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->object() == list()->view()) {
            return 0;
        }
        return list()->isEditable() && child->object() == list()->lineEdit() ? 1 : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        if (list()->isEditable() &&
            list()->lineEdit()->geometry().contains(list()->mapFromGlobal(QPoint(x, y)))) {
            return child(1);
        }
        return nullptr;
    }

    // Opening the list, and the focus (Qt's list offers no way to give it the focus).
    QStringList actionNames() const override {
        QStringList names{ShowMenuAction(), PressAction()};
        for (const QString& name : QAccessibleWidget::actionNames()) {
            if (!names.contains(name)) {
                names << name;
            }
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (action == ShowMenuAction() || action == PressAction()) {
            if (list()->view()->isVisible()) {
                list()->hidePopup();
            } else {
                list()->showPopup();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

  private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
    QString Item() const { return list()->isEditable() ? list()->lineEdit()->text() : list()->currentText(); }
};

// A label that is a notification: its text is its name, and it is announced when it changes.
class AnnouncingLabel final : public QAccessibleWidget {
  public:
    explicit AnnouncingLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox")) {
        if (auto* list = qobject_cast<QComboBox*>(object)) {
            return new NamedComboBox(list); // owned by Qt's accessibility cache
        }
    }
    if (className == QLatin1String("QLabel") && object->property(kAnnouncesProperty).toBool()) {
        return new AnnouncingLabel(static_cast<QLabel*>(object));
    }
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces() {
    static bool installed = false;
    if (!installed) {
        // Factories installed last are asked first, before Qt's own.
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

void AnnounceChanges(QLabel* label) {
    label->setProperty(kAnnouncesProperty, true);
    // An interface Qt made for the label before it was marked would stay: let the next one be made anew.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label);
        made != nullptr && made->role() != QAccessible::Notification) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void AnnounceText(QLabel* label) {
    // A screen reader announces a notification when it appears: the label, always on screen,
    // appears again with its new text.
    QAccessibleEvent appeared(label, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&appeared);
}

QString AccessibleCaption(QString caption) {
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QChar(0xFF1A))) {
        caption.chop(1);
    }
    return caption;
}
