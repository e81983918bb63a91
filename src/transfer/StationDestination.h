#pragma once

#include "core/Paths.h"

#include <filesystem>
#include <string_view>

namespace korvel {

// The message of the import and extraction screens when the chosen destination is no
// station directory.
inline constexpr std::string_view kSelectionRefusal = "KORVEL2000 deki seciminiz dogru gozukmuyor";

// A station directory: the data root, then region, basin and station, each a directory level
// (deeper directories under a station pass too). Anything outside the data root, or the
// data root, a region or a basin directory, is not one.
bool isStationDirectory(const std::filesystem::path& dir, const Paths& paths);

// The root of the drive: the directory that stands for "c:\" or the root of the file system.
bool isDriveRoot(const std::filesystem::path& dir, const Paths& paths);

// The data root or a directory inside it.
bool isInDataRoot(const std::filesystem::path& dir, const Paths& paths);

// Whether dir lies inside (or is) base, compared after resolving links, "." and "..".
bool isWithin(const std::filesystem::path& dir, const std::filesystem::path& base);

} // namespace korvel
