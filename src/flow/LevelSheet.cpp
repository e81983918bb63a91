#include "flow/LevelSheet.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "flow/DayRating.h"
#include "flow/StationHeader.h"
#include "store/StationLists.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace korvel {

namespace {

const OleDate kMorning = OleDate::fromTime(8, 0, 0);
const OleDate kAfternoon = OleDate::fromTime(16, 0, 0);

Table emptyGrid() {
    Table grid(kLevelGridRows, kLevelGridColumns, 1, 1);
    const char* headings[] = {"  Tarih", "08:00", "16:00", "  Ort."};
    const int widths[] = {900, 600, 600, 600};
    for (int c = 0; c < kLevelGridColumns; ++c) {
        grid.setCell(0, c, headings[c]);
        grid.setColumnWidth(c, widths[c]);
    }
    return grid;
}

std::string levelText(int level) {
    return level == 0 ? std::string() : std::to_string(level);
}

// The readings a stored day shows in the 08:00 and 16:00 columns.
struct ShownReadings {
    std::int16_t morning = 0;
    std::int16_t afternoon = 0;
};

ShownReadings shownReadings(const DayRecord& day) {
    const bool afternoonHighest = day.maxTime.time() == TimeOfDay{16, 0, 0};
    return afternoonHighest ? ShownReadings{day.minLevel, day.maxLevel}
                            : ShownReadings{day.maxLevel, day.minLevel};
}

void showDay(Table& grid, int row, const DayRecord& day, const Locale& locale) {
    const ShownReadings shown = shownReadings(day);
    grid.setCell(row, 0, day.date.dateText());
    grid.setCell(row, 1, levelText(shown.morning));
    grid.setCell(row, 2, levelText(shown.afternoon));
    grid.setCell(row, 3, day.meanValue == 0.0F ? std::string() : locale.numberText32(day.meanValue));
}

double readingValue(const Table& grid, int row, int column) {
    return numericValue(grid.cell(row, column));
}

std::int16_t levelOf(double value) {
    return roundToInt16(value).value_or(0);
}

// The mean cell as a number: a whole number from the mean calculation or a stored mean shown
// with either decimal separator; nothing for a value no 32-bit float holds.
std::optional<float> meanOfCell(const std::string& text) {
    const double mean = Locale::turkish().parseEnteredNumber(text).value_or(numericValue(text));
    if (!std::isfinite(mean) || std::fabs(mean) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(mean);
}

// The row still shows the stored day: nothing was typed over its readings or its mean. The
// mean is shown to seven significant digits, so it is compared to that precision.
bool showsStoredDay(const Table& grid, int row, const DayRecord& stored) {
    const ShownReadings shown = shownReadings(stored);
    const float mean = meanOfCell(grid.cell(row, 3)).value_or(stored.meanValue);
    const float tolerance = 1e-6F * std::max(1.0F, std::fabs(stored.meanValue));
    return levelOf(readingValue(grid, row, 1)) == shown.morning &&
           levelOf(readingValue(grid, row, 2)) == shown.afternoon &&
           std::fabs(mean - stored.meanValue) <= tolerance;
}

// A measured day the staff-gauge sheet did not write: from the logger or an import.
bool isLoggerDay(const DayRecord& day) {
    return isMeasuredSource(day.source) && day.source.front() != 'R';
}

std::string fixedTag(const char* tag) {
    std::string text = tag;
    text.resize(DayRecord::kTextWidth, ' ');
    return text;
}

} // namespace

bool isMissingReading(const std::string& text) {
    const std::string t = trimmed(text);
    return t.empty() || t == "0";
}

Table levelSheetGrid(const std::vector<DayRecord>& records, int monthIndex, const Locale& locale) {
    Table grid = emptyGrid();
    const int month = monthNumberOfItem(monthListItem(monthIndex));
    const auto first = firstRecordOfMonth(records, month);
    if (!first)
        return grid;
    // The day before the month; October has none, and its own first day stands in for the check.
    const DayRecord before = dayAt(records, *first > 1 ? *first - 1 : *first);
    if (sourceIsDischarge(before.source))
        return grid;
    if (*first > 1)
        showDay(grid, 1, before, locale);
    int row = 2;
    for (std::size_t k = *first; row <= kLevelLastRow && monthOfDay(dayAt(records, k)) == month; ++k, ++row)
        showDay(grid, row, dayAt(records, k), locale);
    return grid;
}

Sheet levelSheet(const std::vector<DayRecord>& records, const StationRecord& station,
                 const std::string& flowFileName, int monthIndex, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Seviye gözlem cetveli (Eşel)";
    sheet.setText("Label1", instituteHeading(station));
    sheet.setText("Label2", "Agi No..............:   " + station.stationNumber);
    sheet.setText("Label3", "Bölge No-Adı....:   " + station.regionName);
    sheet.setText("Label4", "Suyun Adı.........:   " + station.riverName);
    sheet.setText("Label5", "İstasyonun Adı..:   " + station.stationName);
    sheet.setText("Label6", "Yağış Alanı.......:   " + locale.numberText32(station.drainageArea) + " km2");
    sheet.setText("Label7", "Kot...................:   " + locale.numberText32(station.elevation) + " m.");
    sheet.setText("Label8", "Koordinat.........:   " + station.coordinates);
    const std::string_view item = monthListItem(monthIndex);
    sheet.setText("Label9",
                  utf8Left(flowFileName, 4) + "  Su yılı  " + utf8Mid(item, 5, std::string::npos) + " ayı");
    sheet.setTable(kLevelGridName, levelSheetGrid(records, monthIndex, locale));
    return sheet;
}

void computeDailyMeans(Table& grid) {
    for (int r = 1; r <= 31; ++r) {
        if (isMissingReading(grid.cell(r, 1)) || isMissingReading(grid.cell(r + 1, 1)) ||
            isMissingReading(grid.cell(r + 2, 1)))
            continue;
        const double a = readingValue(grid, r, 1);
        const double c = readingValue(grid, r + 1, 1);
        const double e = readingValue(grid, r + 2, 1);
        double mean = 0.0;
        if (isMissingReading(grid.cell(r + 1, 2))) {
            mean = (a + 13.0 * c + 4.0 * e) / 18.0;
            grid.setCell(r + 1, 2, std::string());
        } else if (isMissingReading(grid.cell(r, 2))) {
            continue;
        } else {
            const double b = readingValue(grid, r, 2);
            const double d = readingValue(grid, r + 1, 2);
            mean = (b + 5.0 * c + 5.0 * d + e) / 12.0;
        }
        grid.setCell(r + 1, 3, generalNumber(roundHalfEven(mean)));
    }
}

void fillDown(Table& grid, int column) {
    std::string carried = grid.cell(1, column);
    for (int r = 1; r < kLevelLastRow; ++r) {
        if (trimmed(grid.cell(r + 1, column)).empty())
            grid.setCell(r + 1, column, carried);
        else
            carried = grid.cell(r + 1, column);
    }
}

LevelSheetSave planLevelSheetSave(Table& grid, const std::vector<DayRecord>& records) {
    LevelSheetSave plan;
    const int month = static_cast<int>(numericValue(utf8Mid(grid.cell(2, 0), 3, 2)));
    const auto first = firstRecordOfMonth(records, month);
    if (!first)
        return plan;
    int g = 2;
    for (std::size_t k = *first; g <= kLevelLastRow && monthOfDay(dayAt(records, k)) == month; ++k, ++g) {
        const DayRecord& stored = records[k - 1];
        DayRecord day = stored;
        const std::string morningText = grid.cell(g, 1);
        const std::string afternoonText = grid.cell(g, 2);
        const std::int16_t m = levelOf(readingValue(grid, g, 1));
        const std::int16_t n = levelOf(readingValue(grid, g, 2));
        if (grid.cell(g, 3).empty())
            grid.setCell(g, 3, "0");
        if (showsStoredDay(grid, g, stored))
            continue;
        // A mean no 32-bit float holds leaves the stored one.
        day.meanValue = meanOfCell(grid.cell(g, 3)).value_or(stored.meanValue);
        if (n < m) {
            day.maxLevel = m;
            day.maxTime = kMorning;
            day.minLevel = n;
            day.minTime = kAfternoon;
        } else {
            day.maxLevel = n;
            day.maxTime = kAfternoon;
            day.minLevel = m;
            day.minTime = kMorning;
        }
        const bool both = !isMissingReading(morningText) && !isMissingReading(afternoonText);
        day.source = fixedTag(both ? "R 2 " : "R 1 ");
        if (isMissingReading(morningText) || m == 0)
            continue;
        if (serializeDayRecord(day) == serializeDayRecord(stored))
            continue;
        if (isLoggerDay(stored))
            plan.loggerDays.push_back(k);
        plan.records.emplace(k, day);
    }
    return plan;
}

std::size_t saveLevelSheet(const std::filesystem::path& flowFile, Table& grid,
                           const ReplaceLoggerDays& replaceLoggerDays) {
    LevelSheetSave plan = planLevelSheetSave(grid, readWaterYearFile(flowFile));
    if (!plan.loggerDays.empty() && !replaceLoggerDays(plan.loggerDays.size()))
        for (const std::size_t k : plan.loggerDays)
            plan.records.erase(k);
    if (!plan.records.empty())
        writeDayRecords(flowFile, plan.records);
    return plan.records.size();
}

} // namespace korvel
