#include "app/ConnectionView.h"

#include "app/AccessibleInterfaces.h"
#include "texts/ConnectionTexts.h"
#include "texts/WindowTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>

namespace {

constexpr int kIconSize = 32;

} // namespace

ConnectionView::ConnectionView(QLabel* icon, QLabel* text, QLabel* choiceCaption, QComboBox* choice)
    : icon_(icon), text_(text), choiceCaption_(choiceCaption), choice_(choice) {
    // Names and serial numbers come from the device: never let them be read as markup.
    text_->setTextFormat(Qt::PlainText);
    // A screen reader hears a printer arrive or leave, wherever the user is in the window.
    AnnounceChanges(text_);
    ShowChoices({}, {});
}

void ConnectionView::Retitle() {
    choiceCaption_->setText(texts::PrinterChoiceLabel());
    choice_->setAccessibleName(AccessibleCaption(choiceCaption_->text()));
}

void ConnectionView::Show(const ConnectionState& state, const PrinterIdentity* printer) {
    QString text = ConnectionHeadline(state, printer);
    if (const QString remedy = ConnectionRemedy(state); !remedy.isEmpty()) {
        text += QLatin1Char('\n') + remedy;
    }
    if (text != text_->text()) {
        text_->setText(text);
        AnnounceText(text_);
    }
    const bool trouble = PrinterUnreachable(state.connection);
    const QStyle::StandardPixmap pixmap =
        trouble ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation;
    icon_->setPixmap(icon_->style()->standardIcon(pixmap, nullptr, icon_).pixmap(kIconSize, kIconSize));
    // The icon says nothing the text does not; a screen reader reads the text.
    icon_->setAccessibleName(QString());
}

void ConnectionView::ShowChoices(const QStringList& serials, const QString& chosen) {
    const QSignalBlocker quiet(choice_);
    choice_->clear();
    choice_->addItems(serials);
    choice_->setCurrentIndex(static_cast<int>(serials.indexOf(chosen)));
    const bool offered = serials.size() > 1;
    choiceCaption_->setVisible(offered);
    choice_->setVisible(offered);
}
