#include "app/Vexo_OutPutFile.h"

#include <QComboBox>

namespace {

int SelectedIndex(const QComboBox* list) {
    return list != nullptr ? list->currentIndex() : -1;
}

} // namespace

Vexo_OutPutFile::Vexo_OutPutFile(QComboBox* powerOnSettingsComb_, QComboBox* autoPowerOffSettingsComb_,
                                 QComboBox* networkSetSettingsComb_, QComboBox* infoPrintSettingsComb_,
                                 QComboBox* commandSettingsComb_, ProgressIndicator* progress_con_)
    : powerOnSettingsComb(powerOnSettingsComb_), autoPowerOffSettingsComb(autoPowerOffSettingsComb_),
      networkSetSettingsComb(networkSetSettingsComb_), infoPrintSettingsComb(infoPrintSettingsComb_),
      commandSettingsComb(commandSettingsComb_), progress_con(progress_con_) {}

QByteArray Vexo_OutPutFile::SetCommand(protocol::CommandGroup group) const {
    const protocol::CommandSelections selections{
        .powerOn = SelectedIndex(powerOnSettingsComb),
        .autoPowerOff = SelectedIndex(autoPowerOffSettingsComb),
        .network = SelectedIndex(networkSetSettingsComb),
        .infoPrint = SelectedIndex(infoPrintSettingsComb),
    };
    const std::vector<std::uint8_t> bytes = protocol::BuildCommandFile(group, selections);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}
