#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The year files of a station directory ("*.ard", "*.yrd") for the statistics over all its
// years: each file with the year its name starts with, in year order. A name that starts with
// no year (1901..9998) and a second file of a year already taken are set apart with the reason.
struct YearFile {
    std::string name;
    int year = 0;
};

struct SkippedYearFile {
    std::string file;
    std::string reason;
};

struct StationYearFiles {
    std::vector<YearFile> files;
    std::vector<SkippedYearFile> skipped;
};

StationYearFiles stationYearFiles(const std::filesystem::path& stationDir, std::string_view pattern);

// "Dışarıda bırakılan dosyalar: F1 (reason); F2 (reason)", or that none was left out.
std::string skippedFilesText(const std::vector<SkippedYearFile>& skipped);

} // namespace korvel
