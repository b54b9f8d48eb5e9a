#pragma once

#include <QLocale>

class QCoreApplication;

namespace platform {

// Installs the application's catalogues into `app`: English first, then the one for `locale` when
// there is one, so a key missing in the user's language falls back to English and a key missing
// everywhere shows the key. Qt's own catalogue for `locale` comes along when the system has it
// (Debian: qt6-translations-l10n), so Qt's dialogs speak the same language. The translators belong to `app`.
// Returns false when not even the English catalogue could be loaded (every text would then show its key).
bool InstallTranslators(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace platform
