#pragma once

#include <CLI/CLI.hpp>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/JobRun.h"
#include "cli/Options.h"

namespace tallora::cli {

// The job files the arguments name: a folder stands for its *.tlf files, by name; throws
// BadInput.
std::vector<std::string> ExpandJobFiles(const std::vector<std::string>& arguments, bool& folder);

// What several jobs cannot take, and options no job could take; throws BadInput.
void CheckBatchOptions(const CLI::App& app, const Options& o);

// Several jobs, each on its own, as many at a time as there are cores; the lines come out in
// the order of the jobs, each as soon as it and those before it are done. The worst status.
int RunBatch(const Options& o, const std::vector<std::string>& files, std::ostream& out,
             std::ostream& err, std::istream* in, JobInventory* inventory);

}  // namespace tallora::cli
