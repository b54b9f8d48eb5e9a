#include "app/Vexo_OutPutFile.h"

#include <QComboBox>

Vexo_OutPutFile::Vexo_OutPutFile(SettingWidgets widgets, ProgressIndicator* progress_con_)
    : widgets_(std::move(widgets)), progress_con(progress_con_) {}

QByteArray Vexo_OutPutFile::SetCommand(protocol::CommandGroup group) const {
    protocol::CommandSelections selections;
    for (const SettingControls& controls : widgets_) {
        selections[controls.kind] =
            controls.settingsComb != nullptr ? controls.settingsComb->currentIndex() : -1;
    }
    const std::vector<std::uint8_t> bytes = protocol::BuildCommandFile(group, selections);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}
