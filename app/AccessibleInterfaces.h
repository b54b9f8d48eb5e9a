#pragma once

#include <QString>

class QLabel;

// What Qt 6.4 tells assistive technologies (AT-SPI on Linux) about two kinds of widget, changed
// where a screen reader user would otherwise be lost:
//
// - A list (QComboBox) is named by its accessible name, as every other control is; Qt names lists
//   on Linux by their current item, so a screen reader said "Mode 3, combo box" and never which
//   setting the list changes. The item stays the list's value, and the list can take the focus
//   through the accessibility bus.
// - A label marked with AnnounceChanges() is a notification: each new text is announced, as a
//   screen reader announces a notification that appears, so a user hears a printer arrive or leave
//   without moving to the band.
//
// Install once, after the QApplication exists and before the widgets are made.
void InstallAccessibleInterfaces();

// Marks `label` as a notification whose every change is announced. Call AnnounceText after each
// change of its text.
void AnnounceChanges(QLabel* label);
void AnnounceText(QLabel* label);

// A caption as the name of the control after it: without its mnemonic marker ("&", or "(&U)" after
// a Japanese caption) and without its closing colon.
QString AccessibleCaption(QString caption);
