#pragma once

#include <QString>
#include <QStringList>

// "Tamblor LM-360R": the maker, one blank and the model, as print queues name their type.
QString TargetPrinterType();

// The names of the queues whose type starts with the target type, letter case aside. `names` and
// `types` are parallel lists; a name without a type (or a type without a name) is passed over.
// The platform's order and any duplicate names are kept.
QStringList MatchingPrinterNames(const QStringList& names, const QStringList& types);
