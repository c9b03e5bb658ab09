#pragma once

#include <functional>
#include <string>
#include <vector>

#include "storage/RegistryStore.h"

namespace tallora {

// One entry of the Reopen submenu.
struct ReopenEntry {
    std::string Caption;  // "&1 path", or "(Empty)"
    bool Enabled = true;
    int Position = -1;  // index into the list; -1 for "(Empty)"
};

// The job files opened or saved last, most recent first, kept in the registry's MRU key.
class RecentFiles {
public:
    static constexpr int MaxEntries = 8;
    using FileExists = std::function<bool(const std::string&)>;

    RecentFiles(RegistryStore& store, FileExists fileExists);

    // Fills the list from the registry, dropping missing files, empty paths and repeats.
    void Load();
    // Puts a path at the top (an empty path is ignored), then saves.
    void Add(const std::string& path);
    // Rewrites the MRU key to hold exactly the list.
    void MRU_Save();
    // The Reopen submenu.
    std::vector<ReopenEntry> MenuEntries() const;

    // What a click on entry `position` asks for.
    enum class Reopen { Nothing, Open, Missing };
    Reopen Check(int position) const;
    // Removes a file that has gone and saves; returns the warning to show.
    std::string RemoveMissing(int position);

    const std::vector<std::string>& Paths() const { return paths_; }

private:
    RegistryStore& store_;
    FileExists fileExists_;
    std::vector<std::string> paths_;
};

// The default test for the list: a regular file exists at the path.
bool RegularFileExists(const std::string& path);

}  // namespace tallora
