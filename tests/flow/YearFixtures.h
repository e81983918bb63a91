#pragma once

#include "common/Dates.h"
#include "core/FileIO.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvel::testing {

// Every day of water year `year` (1 October of the year before to 30 September), each made
// from its date; the file ends there, as a file written day by day does.
inline std::vector<DayRecord> waterYearDays(int year, const std::function<DayRecord(OleDate)>& make) {
    std::vector<DayRecord> days;
    for (OleDate d = firstDayOfWaterYear(year); d < firstDayOfWaterYear(year + 1); d = d.plusDays(1))
        days.push_back(make(d));
    return days;
}

// A day that carries its discharge ("G").
inline DayRecord dischargeDay(OleDate date, float q) {
    DayRecord r;
    r.date = date;
    r.meanValue = q;
    r.source = "G           ";
    r.rawDataFile = "            ";
    return r;
}

// A logger day whose mean level goes through the rating table.
inline DayRecord levelDay(OleDate date, float level) {
    DayRecord r;
    r.date = date;
    r.maxLevel = static_cast<std::int16_t>(level + 5);
    r.minLevel = static_cast<std::int16_t>(level - 5);
    r.meanValue = level;
    r.source = "L  korvelmaş";
    r.rawDataFile = "ist01.dat   ";
    return r;
}

inline Bytes yearBytes(const std::vector<DayRecord>& days) {
    Bytes bytes;
    for (const DayRecord& d : days) {
        const Bytes record = serializeDayRecord(d);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

inline void writeYear(const std::filesystem::path& file, const std::vector<DayRecord>& days) {
    writeFileAtomic(file, yearBytes(days));
}

// A rating table giving `perLevel` m3/s for each mm of level, valid from..to.
inline HqTable linearTable(float perLevel, OleDate from, OleDate to) {
    HqTable table;
    for (std::size_t i = 0; i < HqTable::kLevels; ++i)
        table.discharge[i] = perLevel * static_cast<float>(i);
    table.validFrom[1] = from;
    table.validTo[1] = to;
    return table;
}

} // namespace korvel::testing
