#pragma once

#include "usb/ConnectionState.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QWidget;

// The band at the top of the window that always says which printer the window talks to, or what keeps
// it from one and what to do; with several LM-360R attached it offers their serial numbers. The
// widgets are borrowed from the window.
class ConnectionView {
  public:
    ConnectionView(QLabel* icon, QLabel* text, QLabel* choiceCaption, QComboBox* choice);

    void Show(const ConnectionState& state, const PrinterIdentity* printer);

    // The serial numbers to choose from, `chosen` selected; the choice is offered only for two or more.
    void ShowChoices(const QStringList& serials, const QString& chosen);

    void Retitle();

  private:
    QLabel* icon_;
    QLabel* text_;
    QLabel* choiceCaption_;
    QComboBox* choice_;
};
