#pragma once

#include "core/ByteIO.h"
#include "store/WaterYearFile.h"
#include "transfer/ImportReport.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace korvel {

// The month a sibling-program level file ("o0401001.11o") holds: "o", the two-digit year the
// water year ends in, a five-character station code, ".", the two-digit month and "o".
struct SuvakLevelName {
    int year = 0;  // calendar year of the month (one less than the file's year for Oct-Dec)
    int month = 0; // 1..12
};

// Nothing when the name is not of that form. Two-digit years 00-29 are 2000-2029, 30-99 are
// 1930-1999.
std::optional<SuvakLevelName> parseSuvakLevelName(std::string_view fileName);

enum class SuvakLevelForm {
    StaffGauge, // form R: readings at 08:00 and 16:00 and a daily mean
    Logger,     // form L: one level a day
};

struct SuvakLevelMonth {
    SuvakLevelForm form = SuvakLevelForm::StaffGauge;
    // The day records in the order they are stored; a later record of the same day replaces
    // an earlier one (the days of the month's extremes come last).
    std::vector<DayRecord> days;
    // The steps left out because a field did not hold what it should: the day (or the month's
    // extreme) and the reason, one text each ("gün 3: alan 29 sayı değil: \"x\"").
    std::vector<std::string> skipped;
};

// Converts the fields of a level file of the named month. A file too short for its form or bytes
// that are no text throw SuvakFormatError naming the problem. A field that does not hold what it
// should leaves out its day (or the month's extreme it belongs to) and is listed in `skipped`;
// the other days are still converted. Days the month does not have are left out.
SuvakLevelMonth convertSuvakLevelMonth(const SuvakLevelName& name, const Bytes& fileBytes);

// Converts one level file into the station's water-year file (created on the first day it
// receives). A file not of the expected form is skipped with its reason and nothing is written;
// the fields left out of a converted file are its notes.
ImportOutcome importSuvakLevels(const std::filesystem::path& file, const std::filesystem::path& stationDir,
                                std::string_view stationNumber);

} // namespace korvel
