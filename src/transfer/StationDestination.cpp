#include "transfer/StationDestination.h"

#include <optional>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

fs::path normalised(const fs::path& path) {
    std::error_code ec;
    fs::path result = fs::weakly_canonical(path, ec);
    if (ec)
        result = fs::absolute(path, ec).lexically_normal();
    // A trailing separator would add an empty last part.
    if (!result.has_filename() && result.has_parent_path() && result != result.root_path())
        result = result.parent_path();
    return result;
}

// The parts of dir below base, or nothing when dir is not inside base.
std::optional<fs::path> below(const fs::path& dir, const fs::path& base) {
    const fs::path relative = normalised(dir).lexically_relative(normalised(base));
    if (relative.empty())
        return std::nullopt;
    if (relative == ".")
        return fs::path();
    if (*relative.begin() == "..")
        return std::nullopt;
    return relative;
}

} // namespace

bool isWithin(const fs::path& dir, const fs::path& base) {
    return below(dir, base).has_value();
}

bool isStationDirectory(const fs::path& dir, const Paths& paths) {
    const auto relative = below(dir, paths.dataRoot());
    if (!relative)
        return false;
    std::size_t depth = 0;
    for (const auto& part : *relative)
        if (!part.empty() && part != ".")
            ++depth;
    std::error_code ec;
    return depth >= 3 && fs::is_directory(dir, ec);
}

bool isDriveRoot(const fs::path& dir, const Paths& paths) {
    const fs::path path = normalised(dir);
    return path == path.root_path() || path == normalised(paths.driveRoot());
}

bool isInDataRoot(const fs::path& dir, const Paths& paths) {
    return isWithin(dir, paths.dataRoot());
}

} // namespace korvel
