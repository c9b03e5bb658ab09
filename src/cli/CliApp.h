#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tallora {

// Exit statuses of tallora-cli.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;   // the calculation was refused
inline constexpr int ExitBadInput = 2;  // bad usage or bad input

// Runs tallora-cli with its arguments (without the program name).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tallora
