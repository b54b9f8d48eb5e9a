// What the window shows for a setting after an exchange: the current-value text and the list's
// selection, so that the list shows what the printer holds.
#include "app/CUsbCom.h"
#include "protocol/SettingValues.h"
#include "texts/ConnectionTexts.h"
#include "texts/SettingTexts.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

void ShowText(QLineEdit* field, const QString& text) {
    if (field != nullptr) {
        field->setText(text);
        field->setToolTip(text);     // and the whole of it on hovering
        field->setCursorPosition(0); // a long text shows its beginning
    }
}

// A value the list has no item for leaves no item selected.
void SelectItem(QComboBox* list, int index) {
    if (list != nullptr) {
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
}

} // namespace

void CUsbCom::ShowSetting(LinkResult result, std::int8_t /*flag*/, protocol::SettingKind kind, int value) {
    if (!protocol::IsReadableKind(kind) || abandoned_) {
        return;
    }
    if (result != kLinkOk) {
        held_.erase(kind);
        // The user's last choice stays selected. A printer that is not there, or may not be opened,
        // says so instead of "Unknown".
        ShowText(FieldFor(kind), FailedFieldText(result, lastOutcome_ ? lastOutcome_->status : 0));
        return;
    }
    held_[kind] = value;
    const protocol::ValueDisplay shown = protocol::DisplayForValue(kind, value);
    if (!shown.shown) {
        return;
    }
    SelectItem(ListFor(kind), shown.display.index);
    ShowText(FieldFor(kind), texts::Shown(shown.display.text));
}

std::optional<int> CUsbCom::HeldValue(protocol::SettingKind kind) const {
    const auto found = held_.find(kind);
    return found != held_.end() ? std::optional(found->second) : std::nullopt;
}
