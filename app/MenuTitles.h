#pragma once

#include <QString>

class QMenuBar;

// The title the interface file gives the menu that holds the About and Quit items.
inline const QString kWindowMenuTitle = QStringLiteral("Window");

// Retitles the menus: the menu titled exactly "Window" gets the text of "WindowMenuTitle"; in every
// top-level menu, the About item (QAction::AboutRole) and the Quit item (QAction::QuitRole) get the
// texts of "AboutMenuTitle" and "terminateMenuTitle" filled with `applicationTitle`. Items are found by
// their role, never by position or title; menus nested deeper are left alone.
void RetitleMenus(QMenuBar& menuBar, const QString& applicationTitle);

// A menu item's title: `format` with its "%1" replaced by `applicationTitle`; a format without
// "%1" is used as it stands.
QString MenuItemTitle(const QString& format, const QString& applicationTitle);
