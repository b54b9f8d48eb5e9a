#include "app/MenuTitles.h"

#include "platform/core/Localized.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QString MenuItemTitle(const QString& format, const QString& applicationTitle) {
    if (!format.contains(QStringLiteral("%1"))) {
        return format;
    }
    return format.arg(applicationTitle);
}

void RetitleMenus(QMenuBar& menuBar, const QString& applicationTitle) {
    for (QAction* topLevel : menuBar.actions()) {
        QMenu* menu = topLevel->menu();
        if (menu == nullptr) {
            continue;
        }
        if (menu->title() == kWindowMenuTitle) {
            menu->setTitle(platform::Localized("WindowMenuTitle"));
        }
        for (QAction* item : menu->actions()) {
            if (item->menuRole() == QAction::AboutRole) {
                item->setText(MenuItemTitle(platform::Localized("AboutMenuTitle"), applicationTitle));
            }
            if (item->menuRole() == QAction::QuitRole) {
                item->setText(MenuItemTitle(platform::Localized("terminateMenuTitle"), applicationTitle));
            }
        }
    }
}
