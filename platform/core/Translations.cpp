#include "platform/core/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>
#include <memory>

namespace platform {
namespace {

const QString kCatalogueName = QStringLiteral("lm360r");
const QString kCatalogueDirectory = QStringLiteral(":/i18n");
const QString kSeparator = QStringLiteral("_");

void Install(QCoreApplication& app, std::unique_ptr<QTranslator> translator) {
    translator->setParent(&app);
    QCoreApplication::installTranslator(translator.release());
}

} // namespace

bool InstallTranslators(QCoreApplication& app, const QLocale& locale) {
    // Qt's own texts (the file dialog, standard buttons) in the user's language; searched after ours.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), kSeparator,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        Install(app, std::move(qt));
    }

    auto english = std::make_unique<QTranslator>();
    const bool haveEnglish =
        english->load(kCatalogueName + kSeparator + QStringLiteral("en"), kCatalogueDirectory);
    const QString englishPath = english->filePath();
    if (haveEnglish) {
        Install(app, std::move(english));
    }

    // Translators installed later are searched first.
    auto user = std::make_unique<QTranslator>();
    if (user->load(locale, kCatalogueName, kSeparator, kCatalogueDirectory) &&
        user->filePath() != englishPath) {
        Install(app, std::move(user));
    }
    return haveEnglish;
}

} // namespace platform
