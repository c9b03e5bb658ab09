#include "commands/OpenJob.h"

#include "storage/AutoSave.h"

namespace tallora {

JobFileRead DoOpen(const std::vector<std::string>& lines, CuttingJob& job, Dialogs& dialogs) {
    const JobFileRead read = ReadJobLines(lines, job);
    if (read.SettingsChanged) dialogs.Inform(SettingsChangedMessage);
    if (read.Status == ReadStatus::NotADataFile) dialogs.Inform(NotADataFileMessage);
    if (read.Status == ReadStatus::Corrupted) dialogs.Inform(CorruptedDataMessage);
    return read;
}

OldReadStatus ConvertOldVersion(const std::vector<std::string>& lines, CuttingJob& job,
                                Dialogs& dialogs) {
    dialogs.Inform(OldVersionMessage);
    const OldReadStatus status = ReadOldVersion(lines, job);
    if (status == OldReadStatus::BadFile) dialogs.Inform(NotADataFileMessage);
    if (status == OldReadStatus::Corrupted) dialogs.Inform(CorruptedDataMessage);
    return status;
}

std::string SaveConvertedVersion(const std::string& path, const CuttingJob& job,
                                 const Statistics& stats, Dialogs& dialogs) {
    const std::string error = SaveFile(path, job, stats);
    if (error.empty()) dialogs.Inform(ConvertedMessage);
    return error;
}

bool AutoRecover(const RegistryStore& store, CuttingJob& job, Dialogs& dialogs) {
    if (!HasAutoSavedInputs(store)) return false;
    if (dialogs.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo, RecoverQuestion) !=
        MessageAnswer::Yes) {
        return false;
    }
    RecoverInputs(store, job);
    return true;
}

}  // namespace tallora
