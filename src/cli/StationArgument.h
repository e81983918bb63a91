#pragma once

#include "cli/CliContext.h"

#include <filesystem>
#include <string>

namespace korvel {

// The station number a command works with: the record in the directory's genel.tan, else
// the directory's own name (a station directory is named by its number).
std::string stationNumberOf(const std::filesystem::path& stationDir);

} // namespace korvel
