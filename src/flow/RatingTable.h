#pragma once

#include "core/Locale.h"
#include "core/OleDate.h"
#include "flow/RatingFit.h"
#include "store/HqTable.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr std::string_view kRatingEnteredBy = "Ölçülerden hesaplanan eğri";

// The remarks naming a fit: its segments (a, e, b), the number of gaugings, their dates and
// the standard error; at most 200 characters.
std::string ratingRemarks(const RatingFit& fit, const Locale& locale);

// The HQ table of a fitted curve: the discharge of every whole level 0..1000 inside the
// covered range (0 outside), flagged "2" as computed; the other levels flagged "8" as empty
// cells of a saved table are; one validity period; the remarks of the fit. A period whose
// start lies after its end is refused with RatingFitError.
HqTable ratingHqTable(const RatingFit& fit, OleDate validFrom, OleDate validTo, OleDate createdOn,
                      const Locale& locale);

struct SavedRatingTable {
    std::filesystem::path file;
    // Tables listed before the new one whose periods overlap its period: on those days the
    // lookup takes them, not the new table.
    std::vector<std::string> earlierKeys;
};

// The keys of the tables listed before `fileName` with a period overlapping from..to.
std::vector<std::string> earlierTablesOverlapping(const std::filesystem::path& stationDir,
                                                  const std::string& fileName, OleDate from, OleDate to);

// Creates table `number` as a new table is created (a number in use is refused with
// HqTableNumberInUse and the existing table stays as it is) and writes `table` into it.
SavedRatingTable saveRatingTable(const std::filesystem::path& stationDir, int number,
                                 std::string_view stationNumber, const HqTable& table);

// A validity period of a table listed before the new one that runs on over the new table's
// first day: start < from <= end.
struct RunningPeriod {
    std::string fileName;
    std::string key;
    std::size_t period = 0; // 1..15
    OleDate start;
    OleDate end;
};

// The periods of the tables listed before `fileName` that run on over `from`.
std::vector<RunningPeriod> periodsRunningOver(const std::filesystem::path& stationDir,
                                              const std::string& fileName, OleDate from);

// Ends each of those periods the day before `from`, so that from that day on the lookup
// reaches the new table; each changed table is written whole through a temporary file.
void endPeriodsBefore(const std::filesystem::path& stationDir, const std::vector<RunningPeriod>& periods,
                      OleDate from);

} // namespace korvel
