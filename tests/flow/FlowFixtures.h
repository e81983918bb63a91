#pragma once

#include "common/Dates.h"
#include "core/FileIO.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::test {

using korvel::testing::day;

// A 12-character text field, padded with spaces.
inline std::string tag(const std::string& text) {
    return fixedText(text, DayRecord::kTextWidth);
}

// The 366 records of a water year carrying only their dates, as a new file holds them.
inline std::vector<DayRecord> emptyWaterYear(int year) {
    std::vector<DayRecord> records(kWaterYearRecords);
    const OleDate first = firstDayOfWaterYear(year);
    for (std::size_t n = 0; n < records.size(); ++n)
        records[n].date = first.plusDays(static_cast<long long>(n));
    return records;
}

inline DayRecord& recordOf(std::vector<DayRecord>& records, OleDate date) {
    const auto n = findDay(records, date);
    if (!n)
        throw std::runtime_error("no record dated " + date.dateText());
    return records[*n - 1];
}

inline void setLevelDay(std::vector<DayRecord>& records, OleDate date, float mean, int maxLevel = 0,
                        int minLevel = 0, const std::string& source = "L  korvelmaş") {
    DayRecord& r = recordOf(records, date);
    r.meanValue = mean;
    r.maxLevel = static_cast<std::int16_t>(maxLevel);
    r.minLevel = static_cast<std::int16_t>(minLevel);
    r.maxTime = OleDate::fromTime(14, 30, 0);
    r.minTime = OleDate::fromTime(3, 15, 0);
    r.source = tag(source);
}

inline void setGivenDay(std::vector<DayRecord>& records, OleDate date, float discharge,
                        const std::string& source = "G  ") {
    DayRecord& r = recordOf(records, date);
    r.meanValue = discharge;
    r.source = tag(source);
}

// A rating table whose discharge is `factor` times the level, valid over the given periods.
inline HqTable linearTable(float factor, const std::vector<std::pair<OleDate, OleDate>>& periods) {
    HqTable t;
    for (std::size_t i = 0; i < HqTable::kLevels; ++i)
        t.discharge[i] = static_cast<float>(i) * factor;
    for (std::size_t j = 0; j < periods.size(); ++j) {
        t.validFrom[j + 1] = periods[j].first;
        t.validTo[j + 1] = periods[j].second;
    }
    return t;
}

// One table "01" valid over the whole water year.
inline HqTableSet yearTables(int year, float factor = 1.0F) {
    HqTableSet set;
    set.entries.push_back(
        {"01_01-001.HQ", linearTable(factor, {{firstDayOfWaterYear(year), day(year, 9, 30)}})});
    return set;
}

inline StationRecord testStation(float drainageArea = 120.0F) {
    StationRecord s;
    s.stationNumber = fixedText("01-001", StationRecord::stationNumberWidth);
    s.regionName = fixedText("Ankara", StationRecord::regionNameWidth);
    s.riverName = fixedText("Değirmen Çayı", StationRecord::riverNameWidth);
    s.stationName = fixedText("Yenice Köprüsü", StationRecord::stationNameWidth);
    s.openingDate = fixedText("12.05.1998", StationRecord::openingDateWidth);
    s.coordinates = fixedText("39.58.00K32.51.00D", StationRecord::coordinatesWidth);
    s.note = fixedText("Köprü ayağında eşel.", StationRecord::noteWidth);
    s.basinName = fixedText("Kızılırmak", StationRecord::basinNameWidth);
    s.drainageArea = drainageArea;
    s.elevation = 845.5F;
    return s;
}

inline Bytes fileImage(const std::vector<DayRecord>& records) {
    Bytes image;
    for (const DayRecord& r : records) {
        const Bytes b = serializeDayRecord(r);
        image.insert(image.end(), b.begin(), b.end());
    }
    return image;
}

// A directory of its own for each test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("korvel-flow-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace korvel::test
