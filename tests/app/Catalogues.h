#pragma once

#include "platform/core/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace apptest {

// Installs the application's catalogues for `locale` while alive; none at all with the default.
class ScopedCatalogues {
  public:
    ScopedCatalogues() = default;
    explicit ScopedCatalogues(const QLocale& locale) { platform::InstallTranslators(*qApp, locale); }
    ~ScopedCatalogues() {
        // Deleting a translator uninstalls it.
        qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    }
    ScopedCatalogues(const ScopedCatalogues&) = delete;
    ScopedCatalogues& operator=(const ScopedCatalogues&) = delete;
};

} // namespace apptest
