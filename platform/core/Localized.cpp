#include "platform/core/Localized.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

QString Localized(std::string_view key) {
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    return qtTrId(id.constData());
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace platform
