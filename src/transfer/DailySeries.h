#pragma once

#include "core/OleDate.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Where a day's figures come from, read off the origin tag of its record:
//   blank tag                        -> NoData
//   second character "E"             -> Edited (the monthly table's save marks it so)
//   "G" first                        -> MonthlyTotals (meanValue holds the discharge)
//   "K" first                        -> Correlation (meanValue holds the discharge)
//   "SUVAK" or "CSV" in the tag      -> Imported (sibling-program files, logger CSV files)
//   "L" first                        -> Logger (downloads, and the older program's files,
//                                       which carry the logger's own tag)
//   "R" first                        -> StaffGauge ("R 1 " one reading, "R 2 " both)
//   anything else                    -> Imported (a tag no writer of this program sets)
enum class DayQuality { Logger, StaffGauge, Imported, Edited, MonthlyTotals, Correlation, NoData };

DayQuality dayQualityOfSource(std::string_view source);
// "logger", "staff_gauge", "imported", "edited", "monthly_totals", "correlation", "no_data".
std::string_view dayQualityCode(DayQuality quality);
std::optional<DayQuality> dayQualityOfCode(std::string_view code);

// The tag of the days a logger CSV import writes: a level day ("L") marked as imported.
inline constexpr std::string_view kCsvImportSource = "L  CSV";

// One calendar day of the exported series. Levels are present on level days with data;
// the discharge is that of the flow tables (the rating table valid on the day at the rounded
// mean level, or the day's own figure on a "G"/"K" day).
struct SeriesDay {
    OleDate date;
    DayQuality quality = DayQuality::NoData;
    std::string source; // the origin tag, without its padding
    bool hasLevels = false;
    float meanLevel = 0.0F;
    std::int16_t maxLevel = 0;
    OleDate maxTime; // time of day only
    std::int16_t minLevel = 0;
    OleDate minTime;
    std::optional<float> discharge;
    // A level day whose level lies outside the range of the rating table covering it.
    bool outsideRatedRange = false;
    std::string hqKey; // the rating table used; empty when none was
};

struct DailySeries {
    StationRecord station;
    OleDate from;
    OleDate to;
    std::vector<SeriesDay> days; // every calendar day from `from` to `to`
};

// The days from..to of a station directory, read from the water-year files (a day missing from
// them is NoData) and rated through the station's tables. Throws std::invalid_argument when
// `to` lies before `from` or the dates are no calendar dates.
DailySeries collectDailySeries(const std::filesystem::path& stationDir, const StationRecord& station,
                               OleDate from, OleDate to);

// The CSV form: UTF-8, one comment line saying how to read the file, one header row, one row per
// day; ISO 8601 dates and times, "." as decimal separator, "," between fields.
inline constexpr std::string_view kSeriesCsvHeader =
    "date,mean_level_mm,max_level_mm,max_time,min_level_mm,min_time,discharge_m3s,quality,rated_range,"
    "hq_table,source_tag";
std::string dailySeriesCsv(const DailySeries& series);

// The same days as an OGC WaterML 2.0 document (OGC 10-126r4): one wml2:Collection holding one
// om:OM_Observation per series (daily mean level, daily maximum and minimum level at the time they
// occurred, daily mean discharge), each a wml2:MeasurementTimeseries whose points carry the day's
// source as qualifier. Day times are the station's local time; `generated`, the document's
// generation time, is UTC.
std::string dailySeriesWaterMl(const DailySeries& series, OleDate generated);

// "2004-01-15" and "08:00:00" as the CSV and WaterML forms write them.
std::string isoDate(OleDate date);
std::string isoTime(OleDate time);
// The shortest text that reads back as the same 32-bit float, "." as decimal separator.
std::string floatText(float value);

} // namespace korvel
