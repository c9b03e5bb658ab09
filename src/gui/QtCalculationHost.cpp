#include "gui/QtCalculationHost.h"

namespace tallora {

bool QtCalculationHost::AskQuestion(const std::string& text) {
    bool yes = false;
    if (!detached_) emit questionAsked(Q(text), &yes);
    return yes;
}

void QtCalculationHost::ShowError(const std::string& text) {
    if (!detached_) emit errorShown(Q(text));
}

void QtCalculationHost::ShowCuttingList(const std::vector<std::string>& lines) {
    if (detached_) return;
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) shown << Q(line);
    emit cuttingListShown(shown);
}

}  // namespace tallora
