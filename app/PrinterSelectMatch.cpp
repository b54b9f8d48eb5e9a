#include "app/PrinterSelectMatch.h"

#include "protocol/PrinterIdentity.h"

#include <QStringView>
#include <algorithm>

namespace {

QString FromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString TargetPrinterType() {
    return QStringLiteral("%1 %2").arg(FromLatin1(protocol::kTargetManufacturer),
                                       FromLatin1(protocol::kTargetProduct));
}

QStringList MatchingPrinterNames(const QStringList& names, const QStringList& types) {
    const QString target = TargetPrinterType();
    const qsizetype count = std::min(names.size(), types.size());
    QStringList matching;
    for (qsizetype i = 0; i < count; ++i) {
        const QString& type = types[i];
        // Queues often carry a driver or series suffix after the model, so only the start counts.
        if (type.size() >= target.size() &&
            QStringView(type).left(target.size()).compare(target, Qt::CaseInsensitive) == 0) {
            matching << names[i];
        }
    }
    return matching;
}
