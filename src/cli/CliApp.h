#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "commands/PictureOutput.h"
#include "storage/RegistryStore.h"

namespace tallora {

// Exit statuses of tallora-cli. Of several jobs the worst one counts.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;   // the calculation, or its booking, was refused
inline constexpr int ExitBadInput = 2;  // bad usage or bad input, an inventory that cannot be used

// The JSON output's "schema_version": raised when a key changes its meaning or goes; new keys
// leave it as it is.
inline constexpr int JsonSchemaVersion = 1;

// The job file name that reads the job from standard input.
inline constexpr const char* StdinName = "-";

// Default --size of --diagram: the viewer window's size.
inline constexpr int DefaultDiagramWidth = 945;
inline constexpr int DefaultDiagramHeight = 665;
inline constexpr int MaxDiagramSide = 8000;

// Runs tallora-cli with its arguments (without the program name). Without `pictures`, --pdf and
// --diagram are refused as bad usage. When `err` is a terminal, a long calculation shows its
// progress there. The job file "-" is read from `in`. The offcut inventory is the one of the
// data folder `settings` names (only read), or of the default data folder without them, unless
// --inventory names another.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           PictureOutput* pictures = nullptr, bool errIsTerminal = false,
           std::istream* in = nullptr, RegistryStore* settings = nullptr);

}  // namespace tallora
