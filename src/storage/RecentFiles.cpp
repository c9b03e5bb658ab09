#include "storage/RecentFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tallora {

namespace {

constexpr auto User = RegistryRoot::CurrentUser;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// A menu caption reads "&" as an accelerator mark: double it so the path reads as typed.
std::string MenuText(const std::string& path) {
    std::string text;
    for (char c : path) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

}  // namespace

bool RegularFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

RecentFiles::RecentFiles(RegistryStore& store, FileExists fileExists)
    : store_(store), fileExists_(std::move(fileExists)) {}

void RecentFiles::Load() {
    paths_.clear();
    if (store_.KeyExists(User, MruKey)) {
        // A damaged Count must not make start-up read for ever.
        const int count = std::min(store_.ReadInteger(User, MruKey, "Count").value_or(0), 1000);
        for (int i = 0; i < count; ++i) {
            const auto path = store_.ReadString(User, MruKey, "File" + std::to_string(i));
            if (!path || path->empty() || !fileExists_(*path)) continue;
            const bool known = std::any_of(paths_.begin(), paths_.end(), [&](const std::string& p) {
                return SameIgnoringCase(p, *path);
            });
            if (!known) paths_.push_back(*path);
            // A long list in the registry is cut to the size of the menu anyway.
            if (static_cast<int>(paths_.size()) > MaxEntries) break;
        }
    }
    while (static_cast<int>(paths_.size()) > MaxEntries) paths_.pop_back();
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    for (int i = static_cast<int>(paths_.size()) - 1; i >= 0; --i) {
        if (SameIgnoringCase(paths_[i], path)) paths_.erase(paths_.begin() + i);
    }
    paths_.insert(paths_.begin(), path);
    while (static_cast<int>(paths_.size()) > MaxEntries) paths_.pop_back();
    MRU_Save();
}

void RecentFiles::MRU_Save() {
    store_.DeleteKey(User, MruKey);
    if (!store_.CreateKey(User, MruKey)) return;
    store_.WriteInteger(User, MruKey, "Count", static_cast<std::int32_t>(paths_.size()));
    for (size_t i = 0; i < paths_.size(); ++i) {
        store_.WriteString(User, MruKey, "File" + std::to_string(i), paths_[i]);
    }
}

std::vector<ReopenEntry> RecentFiles::MenuEntries() const {
    if (paths_.empty()) return {{"(Empty)", false, -1}};
    std::vector<ReopenEntry> entries;
    for (size_t i = 0; i < paths_.size(); ++i) {
        entries.push_back(
            {"&" + std::to_string(i + 1) + " " + MenuText(paths_[i]), true, static_cast<int>(i)});
    }
    return entries;
}

RecentFiles::Reopen RecentFiles::Check(int position) const {
    if (position < 0 || position >= static_cast<int>(paths_.size())) return Reopen::Nothing;
    return fileExists_(paths_[position]) ? Reopen::Open : Reopen::Missing;
}

std::string RecentFiles::RemoveMissing(int position) {
    if (position < 0 || position >= static_cast<int>(paths_.size())) return {};
    const std::string message =
        "That file could no longer be found and has been removed from the Reopen list:\r\n" +
        paths_[position];
    paths_.erase(paths_.begin() + position);
    MRU_Save();
    return message;
}

}  // namespace tallora
