#include "platform/core/Localized.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

QString Localized(std::string_view key) {
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    return qtTrId(id.constData());
}

} // namespace platform
