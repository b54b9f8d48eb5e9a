// Vexo_MainController::saveCommandFile: the save buttons of the two tabs.
#include "app/Vexo_MainController.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "texts/WindowTexts.h"

#include <QDir>

void Vexo_MainController::saveCommandFile(protocol::CommandGroup group) {
    const QString extension = platform::FromUtf8(protocol::kCommandFileExtension);
    const std::optional<QString> path = platform::AppDialogs().RunSavePanel(
        QDir::homePath(), platform::FromUtf8(protocol::kCommandFileProposedName), extension,
        texts::CommandFileFilter(QStringLiteral("*.") + extension));
    if (!path.has_value()) {
        return;
    }
    if (progress_con != nullptr) {
        progress_con->openPanel(kProgressMessageKey, kProgressTitleKey);
    }
    // Built only now, after the save panel closed: the choices shown at this moment are what is saved.
    const QByteArray bytes = Vexo_OutPutFile_con->SetCommand(group);
    const std::optional<std::string> problem = platform::WriteFileAtomically(
        path->toStdString(), std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())));
    const QString shownPath = QDir::toNativeSeparators(*path);
    if (!problem) {
        mRunAlertPanel_Con("Util_FileCreate", nullptr, texts::SavedAs(shownPath));
    } else {
        mRunAlertPanel_Con("Util_FileError", nullptr,
                           texts::NotWritten(shownPath, QString::fromStdString(*problem)),
                           platform::AlertIcon::Warning);
    }
    if (progress_con != nullptr) {
        progress_con->closePanel();
    }
}
