#include "core/StationFiles.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"

#include <algorithm>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    });
}

fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path target = fs::absolute(path, ec);
    // A link whose target does not exist yet still leads there: a write would create it.
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++hops) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    fs::path result = fs::weakly_canonical(target, ec);
    if (ec)
        result = fs::absolute(path, ec).lexically_normal();
    return result;
}

} // namespace

std::optional<std::string> stationNumberProblem(std::string_view stationNumber) {
    const std::string number = trimmed(stationNumber);
    if (number.empty())
        return std::string("İstasyon numarası boş");
    if (!isPlainFileName(number))
        return "İstasyon numarası dosya adında kullanılamaz: " + number;
    // The station record, the loggers and the station texts keep 8 characters; a longer number
    // would name files that none of them match.
    if (utf8Length(number) > kStationNumberWidth)
        return "İstasyon numarası en çok " + std::to_string(kStationNumberWidth) + " karakter olabilir: " + number;
    return std::nullopt;
}

bool isInsideDirectory(const fs::path& path, const fs::path& dir) {
    const fs::path file = resolved(path);
    return file.has_filename() && file.parent_path() == resolved(dir);
}

fs::path stationFilePath(const fs::path& stationDir, std::string_view fileName) {
    if (!isPlainFileName(fileName))
        throw FileError("dosya adı istasyon dizininin dışını gösteriyor: " + std::string(fileName));
    const fs::path file = resolveCaseInsensitive(stationDir / fs::path(std::string(fileName)));
    if (!isInsideDirectory(file, stationDir))
        throw FileError("dosya istasyon dizininin dışında: " + file.string());
    return file;
}

} // namespace korvel
