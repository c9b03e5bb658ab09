#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "commands/Ports.h"

namespace tallora {

// Exit statuses of tallora-cli.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;   // the calculation was refused
inline constexpr int ExitBadInput = 2;  // bad usage or bad input

// Default --size of --diagram: the viewer window's size.
inline constexpr int DefaultDiagramWidth = 945;
inline constexpr int DefaultDiagramHeight = 665;
inline constexpr int MaxDiagramSide = 8000;

// Runs tallora-cli with its arguments (without the program name). Without `pictures`, --pdf and
// --diagram are refused as bad usage. When `err` is a terminal, a long calculation shows its
// progress there.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           PictureOutput* pictures = nullptr, bool errIsTerminal = false);

}  // namespace tallora
