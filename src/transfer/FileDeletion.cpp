#include "transfer/FileDeletion.h"

#include "core/FileIO.h"
#include "core/Paths.h"

#include <algorithm>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

std::optional<std::string> companionName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot + 2 >= fileName.size() || fileName[dot + 1] != '-')
        return std::nullopt;
    const std::string_view year = fileName.substr(dot + 2);
    if (year.size() > 2 ||
        !std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::string companion(fileName);
    companion[dot + 1] = 'm';
    return companion;
}

bool deleteStationFile(const fs::path& dir, std::string_view fileName) {
    if (fileName.empty() || fileName == "." || fileName == ".." ||
        fileName.find_first_of("/\\") != std::string_view::npos)
        return false;
    return removeFile(dir / std::string(fileName));
}

DeletedFiles deleteWithCompanion(const fs::path& dir, std::string_view fileName) {
    DeletedFiles deleted;
    deleted.file = deleteStationFile(dir, fileName);
    if (const auto companion = companionName(fileName))
        deleted.companion =
            deleteStationFile(dir, resolveCaseInsensitive(dir / *companion).filename().string());
    return deleted;
}

} // namespace korvel
