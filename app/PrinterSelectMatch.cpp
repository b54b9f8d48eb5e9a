#include "app/PrinterSelectMatch.h"

#include "protocol/PrinterModel.h"

#include <QStringView>
#include <algorithm>

QString TargetPrinterType() {
    return QString::fromStdString(protocol::TargetPrinterName());
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
