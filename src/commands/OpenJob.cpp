#include "commands/OpenJob.h"

#include "storage/AutoSave.h"

namespace tallora {

std::string OpenedJob::Problem() const {
    if (Earlier) {
        if (*Earlier == OldReadStatus::BadFile) return NotADataFileMessage;
        if (*Earlier == OldReadStatus::Corrupted) return CorruptedDataMessage;
        return {};
    }
    if (Read.Status == ReadStatus::NotADataFile) return NotADataFileMessage;
    if (Read.Status == ReadStatus::Corrupted) return CorruptedDataMessage;
    return {};
}

OpenedJob ReadJobFile(const std::vector<std::string>& lines, JobInput& input,
                      CalculationResult& result) {
    OpenedJob opened;
    opened.Read = ReadJobLines(lines, input, result);
    if (opened.Read.Status == ReadStatus::OldVersion)
        opened.Earlier = ReadOldVersion(lines, input, result);
    return opened;
}

OpenedJob OpenJob(const std::vector<std::string>& lines, JobInput& input, CalculationResult& result,
                  Dialogs& dialogs) {
    const OpenedJob opened = ReadJobFile(lines, input, result);
    if (opened.Earlier) dialogs.Inform(OldVersionMessage);
    if (opened.Read.SettingsChanged) dialogs.Inform(SettingsChangedMessage);
    if (const std::string problem = opened.Problem(); !problem.empty()) dialogs.Inform(problem);
    return opened;
}

std::string SaveConvertedVersion(const std::string& path, const JobInput& input,
                                 const CalculationResult& result, const Statistics& stats,
                                 Dialogs& dialogs) {
    const std::string error = SaveFile(path, input, result, stats);
    if (error.empty()) dialogs.Inform(ConvertedMessage);
    return error;
}

bool AutoRecover(const RegistryStore& store, JobInput& input, Dialogs& dialogs) {
    if (!HasAutoSavedInputs(store)) return false;
    if (dialogs.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo, RecoverQuestion) !=
        MessageAnswer::Yes) {
        return false;
    }
    RecoverInputs(store, input);
    return true;
}

}  // namespace tallora
