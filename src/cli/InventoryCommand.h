#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "inventory/OffcutStore.h"
#include "storage/RegistryStore.h"

namespace tallora::cli {

// What the inventory commands were given.
struct InventoryOptions {
    std::optional<std::string> File, Section, Location;
    std::string Format = "text";
    std::string AddSection, AddLength, AddCount;
    std::string RemoveId;
    std::optional<std::string> RemoveCount;
    std::string ExportFile;
    CLI::App *List = nullptr, *Add = nullptr, *Remove = nullptr, *ExportCsv = nullptr;
};

// tallora-cli inventory list|add|remove|export, as a subcommand of `app`.
CLI::App* AddInventoryCommands(CLI::App& app, InventoryOptions& io);

// Runs the inventory command that was parsed: the status to exit with. `mainFile` is the
// --inventory given before the command.
int RunInventoryCommand(const InventoryOptions& io, const std::optional<std::string>& mainFile,
                        RegistryStore* settings, std::ostream& out, std::ostream& err);

// The inventory's file: --inventory, else the settings' data folder, else the default one;
// throws BadInput.
std::string InventoryFile(const std::optional<std::string>& given, RegistryStore* settings);

// The inventory opened; one that cannot be (damaged, newer, no folder) is bad input, left as
// it is.
OffcutStore OpenInventoryFile(const std::string& path);

}  // namespace tallora::cli
