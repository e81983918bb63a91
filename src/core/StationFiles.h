#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr std::size_t kStationNumberWidth = 8;

// A station number that can name files and a directory: not empty once trimmed, at most
// kStationNumberWidth characters, not "." or "..", and without path separators or other characters a file name cannot hold. The same
// holds for any name read from a file that becomes part of a path.
std::optional<std::string> stationNumberProblem(std::string_view stationNumber);

// True when the path, its symbolic links resolved as far as they exist, names an entry
// directly inside the directory.
bool isInsideDirectory(const std::filesystem::path& path, const std::filesystem::path& dir);

// The file of that name in the station directory (its existing case kept). Throws FileError
// when the name is not a plain file name or the file would lie outside the directory; every
// write of a file named from a station number goes through here first.
std::filesystem::path stationFilePath(const std::filesystem::path& stationDir, std::string_view fileName);

} // namespace korvel
