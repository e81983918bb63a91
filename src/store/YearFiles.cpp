#include "store/YearFiles.h"

#include "core/Paths.h"

#include <algorithm>
#include <optional>

namespace korvel {

namespace {

std::optional<int> yearOfName(const std::string& name) {
    if (name.size() < 4 ||
        !std::all_of(name.begin(), name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int year = std::stoi(name.substr(0, 4));
    if (year < 1901 || year > 9998)
        return std::nullopt;
    return year;
}

} // namespace

StationYearFiles stationYearFiles(const std::filesystem::path& stationDir, std::string_view pattern) {
    StationYearFiles result;
    for (const std::string& name : listFiles(stationDir, pattern)) {
        const std::optional<int> year = yearOfName(name);
        if (!year) {
            result.skipped.push_back({name, "dosya adı bir yılla başlamıyor"});
            continue;
        }
        if (std::any_of(result.files.begin(), result.files.end(),
                        [&](const YearFile& taken) { return taken.year == *year; })) {
            result.skipped.push_back({name, "bu yılın başka bir dosyası alındı"});
            continue;
        }
        result.files.push_back({name, *year});
    }
    std::stable_sort(result.files.begin(), result.files.end(),
                     [](const YearFile& a, const YearFile& b) { return a.year < b.year; });
    return result;
}

std::string skippedFilesText(const std::vector<SkippedYearFile>& skipped) {
    if (skipped.empty())
        return "Dışarıda bırakılan dosya yok";
    std::string text = "Dışarıda bırakılan dosyalar:";
    for (const SkippedYearFile& file : skipped)
        text += " " + file.file + " (" + file.reason + ");";
    text.pop_back();
    return text;
}

} // namespace korvel
