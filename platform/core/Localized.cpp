#include "platform/core/Localized.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

QString Localized(std::string_view key) {
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    return qtTrId(id.constData());
}

QString Localized(const protocol::SettingText& text) {
    switch (text.sort) {
    case protocol::TextSort::Key:
        return Localized(text.text);
    case protocol::TextSort::Verbatim:
        return QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size()));
    case protocol::TextSort::Empty:
        break;
    }
    return {};
}

} // namespace platform
