#pragma once

#include "core/OleDate.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "store/YearFiles.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The long record of a flow station: the daily discharges of all its water years as the
// annual table rates them, with each year's mean, largest and smallest day.

struct RecordDay {
    OleDate date;
    double discharge = 0.0;
};

struct FlowRecordYear {
    int waterYear = 0; // the year the water year ends in
    std::string file;
    std::vector<RecordDay> days; // the days with a discharge, in date order
    int missingDays = 0;         // days of the water year without one
    double annualMean = 0.0;     // the annual table's yearly mean
    std::optional<RecordDay> largest;
    std::optional<RecordDay> smallest; // ties keep the earlier day
};

// A year from its file's records: every day the annual table gives a discharge, except days
// that hold no observation (a blank source tag: the file was made for them but nothing was
// ever written) and records dated outside the water year.
FlowRecordYear flowRecordYear(int waterYear, const std::string& file, const std::vector<DayRecord>& records,
                              const HqTableSet& tables, double drainageArea);

using LeftOutFlowYear = SkippedYearFile;

struct FlowRecord {
    std::vector<FlowRecordYear> years; // in year order
    std::vector<LeftOutFlowYear> leftOut;

    std::size_t dayCount() const;
    std::size_t missingDayCount() const;
};

// Every water-year file of the station directory with the station's rating tables. A file
// without a year in its name, a second file of one year and a file that cannot be read are
// left out with their reason. `progress` gets the files done and the file count.
using FlowRecordProgress = std::function<void(int done, int total)>;
FlowRecord readFlowRecord(const std::filesystem::path& stationDir, double drainageArea,
                          const FlowRecordProgress& progress = {});

} // namespace korvel
