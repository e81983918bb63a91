#include "flow/MonthTable.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "core/Numbers.h"
#include "flow/DayRating.h"
#include "flow/StationHeader.h"
#include "store/StationLists.h"

#include <bit>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

constexpr int kSourceColumnWidth = 1300;
// Wide enough for a date and for the headings.
constexpr int kDateColumnWidth = 1000;
constexpr int kValueColumnWidth = 950;
constexpr std::size_t kSaveSearchLimit = 367;

// A fixed-width text as the grid shows it: up to its first NUL.
std::string shownField(const std::string& field) {
    return field.substr(0, field.find('\0'));
}

std::string monthName(int monthIndex) {
    return utf8Mid(monthListItem(monthIndex), 6, std::string::npos);
}

std::string valueText(const std::optional<double>& value, const Locale& locale) {
    return value ? locale.numberText(*value) : std::string();
}

// Equal as stored: bit for bit, so that a damaged value (NaN) equals itself.
template <typename T> bool sameStored(T a, T b) {
    return std::bit_cast<std::array<unsigned char, sizeof(T)>>(a) ==
           std::bit_cast<std::array<unsigned char, sizeof(T)>>(b);
}

std::optional<float> storableFloat(double value) {
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}

std::string withSecondCharacter(const std::string& source, const std::string& character) {
    return utf8Left(source, 1) + character + utf8Mid(source, 2, std::string::npos);
}

} // namespace

void setMonthStatistics(MonthFlow& flow, double drainageArea) {
    const double s = flow.sum;
    const auto n = static_cast<double>(flow.days.size());
    flow.total = std::floor(s * 100.0) / 100.0;
    if (n > 0)
        flow.mean = std::floor(s / n * 100.0) / 100.0;
    if (drainageArea != 0.0) {
        flow.yield = std::floor(flow.mean.value_or(0.0) * 100000.0 / drainageArea) / 100.0;
        flow.depth = std::floor(s * 8640.0 / drainageArea) / 100.0;
    }
    flow.volume = std::floor(s * 86.4) / 1000.0;
}

MonthFlow computeMonthFlow(const std::vector<DayRecord>& records, const HqTableSet& tables, int month,
                           double drainageArea) {
    MonthFlow flow;
    flow.month = month;
    for (const MonthWalk& walk : walkMonths(records)) {
        if (walk.month != month || month == 0)
            continue;
        for (std::size_t i = 0; i < walk.count; ++i) {
            MonthDay day;
            day.record = walk.first + i;
            day.day = dayAt(records, day.record);
            const RatedDay rated = rateDay(day.day, tables);
            day.discharge = rated.discharge;
            day.hqKey = rated.hqKey;
            day.givenDischarge = rated.givenDischarge;
            day.levelOutOfRange = rated.levelOutOfRange;
            if (day.discharge)
                flow.sum += *day.discharge;
            flow.days.push_back(std::move(day));
        }
        break;
    }

    setMonthStatistics(flow, drainageArea);
    return flow;
}

std::array<std::string, kMonthGridColumns> monthRowTexts(const DayRecord& day, const Locale& locale) {
    std::array<std::string, kMonthGridColumns> texts;
    texts[0] = locale.shortDate(day.date);
    texts[1] = std::to_string(day.maxLevel);
    texts[2] = locale.longTime(day.maxTime);
    texts[3] = std::to_string(day.minLevel);
    texts[4] = locale.longTime(day.minTime);
    if (!sourceIsDischarge(day.source))
        texts[5] = locale.numberText32(day.meanValue);
    texts[9] = shownField(day.source);
    return texts;
}

Sheet monthTableSheet(const MonthFlow& flow, const StationRecord& station, const std::string& flowFileName,
                      int monthIndex, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Seviye gözlem cetveli (limnigraf)";

    Table grid(kMonthGridRows, kMonthGridColumns, 1, 1);
    for (int c = 0; c < kMonthGridColumns; ++c)
        grid.setCell(0, c, kMonthGridHeadings[static_cast<std::size_t>(c)]);
    for (int c = 0; c < 9; ++c)
        grid.setColumnWidth(c, c == 0 ? kDateColumnWidth : kValueColumnWidth);
    grid.setColumnWidth(9, kSourceColumnWidth);
    int row = 1;
    for (const MonthDay& day : flow.days) {
        if (row >= kMonthGridRows)
            break;
        const auto texts = monthRowTexts(day.day, locale);
        for (int c = 0; c < kMonthGridColumns; ++c)
            grid.setCell(row, c, texts[static_cast<std::size_t>(c)]);
        if (day.discharge) {
            const double q = *day.discharge;
            grid.setCell(row, 6, formatNumber(q, "###0.00", locale));
            grid.setCell(row, 7, locale.numberText(std::floor(8640.0 * q) / 100.0));
            if (day.hqKey)
                grid.setCell(row, 8, *day.hqKey + "    ");
        } else if (day.levelOutOfRange) {
            grid.setCell(row, 6, kLevelOutOfRangeMark);
        }
        ++row;
    }
    sheet.setTable(kMonthGridName, std::move(grid));

    sheet.setText("month", monthName(monthIndex) + " ayı ");
    addStationHeader(sheet, station, locale);
    sheet.setText("waterYear", "  Su yılı  " + utf8Left(flowFileName, 4));
    sheet.setText("total", "Aylık toplam debi             :   " + locale.numberText(flow.total) + " m3/sn.");
    sheet.setText("mean", "Aylık Ortalama debi         :   " + valueText(flow.mean, locale) + " m3/sn.");
    // Without a drainage area the yield and depth are not shown.
    sheet.setText("yield", flow.yield ? "Aylık Ortalama verim       :   " + valueText(flow.yield, locale) +
                                            " Lt./sn./km2"
                                      : std::string());
    sheet.setText("depth",
                  flow.depth ? "Aylık  akış(mm.)               :    " + valueText(flow.depth, locale) + " mm"
                             : std::string());
    sheet.setText("volume", "Aylık Toplam akım(mil.m3):   " + locale.numberText(flow.volume) + " Milyon m3");
    return sheet;
}

Sheet fillMonthTable(const std::vector<DayRecord>& records, const HqTableSet& tables,
                     const StationRecord& station, const std::string& flowFileName, int monthIndex,
                     const Locale& locale) {
    const int month = monthNumberOfItem(monthListItem(monthIndex));
    const MonthFlow flow =
        computeMonthFlow(records, tables, month, static_cast<double>(station.drainageArea));
    return monthTableSheet(flow, station, flowFileName, monthIndex, locale);
}

MonthTableSave planMonthTableSave(const Table& grid, const std::vector<DayRecord>& records,
                                  const Locale& locale) {
    MonthTableSave save;
    const auto firstDate = locale.parseDate(grid.cell(1, 0));
    if (!firstDate)
        return save;
    save.firstRecord = findDay(records, *firstDate, kSaveSearchLimit);
    if (!save.firstRecord)
        return save;

    for (int row = 1; row < grid.rows() && !grid.cell(row, 0).empty(); ++row) {
        const std::size_t p = *save.firstRecord + static_cast<std::size_t>(row) - 1;
        if (p > records.size())
            break;
        const DayRecord& stored = records[p - 1];
        DayRecord updated = stored;
        const auto shown = monthRowTexts(stored, locale);

        // Each cell: unchanged when it still shows the stored value, else converted; a cell
        // that does not convert keeps the stored value and is reported.
        auto changedText = [&](int column) {
            return grid.cell(row, column) != shown[static_cast<std::size_t>(column)];
        };
        auto keep = [&](int column) {
            save.kept.push_back(KeptCell{row, column, grid.cell(row, 0),
                                         kMonthGridHeadings[static_cast<std::size_t>(column)],
                                         grid.cell(row, column)});
        };
        auto level = [&](int column, std::int16_t& field) {
            if (!changedText(column))
                return;
            const auto number = locale.parseNumber(grid.cell(row, column));
            const auto value = number ? roundToInt16(*number) : std::nullopt;
            if (value)
                field = *value;
            else
                keep(column);
        };
        auto time = [&](int column, OleDate& field) {
            if (!changedText(column))
                return;
            if (const auto value = locale.parseTime(grid.cell(row, column)))
                field = *value;
            else
                keep(column);
        };
        level(1, updated.maxLevel);
        time(2, updated.maxTime);
        level(3, updated.minLevel);
        time(4, updated.minTime);
        if (changedText(5)) {
            const auto number = locale.parseNumber(grid.cell(row, 5));
            const auto value = number ? storableFloat(*number) : std::nullopt;
            if (value)
                updated.meanValue = *value;
            else
                keep(5);
        }

        if (!updated.source.empty() && updated.source.front() == '\0')
            updated.source = std::string(DayRecord::kTextWidth, ' ');
        const bool edited = updated.maxLevel != stored.maxLevel ||
                            !sameStored(updated.maxTime.value(), stored.maxTime.value()) ||
                            updated.minLevel != stored.minLevel ||
                            !sameStored(updated.minTime.value(), stored.minTime.value()) ||
                            !sameStored(updated.meanValue, stored.meanValue);
        if (edited)
            updated.source = withSecondCharacter(updated.source, "E");
        if (serializeDayRecord(updated) != serializeDayRecord(stored))
            save.changed.emplace(p, updated);
    }
    return save;
}

MonthTableSave saveMonthTable(const std::filesystem::path& flowFile, const Table& grid,
                              const Locale& locale) {
    MonthTableSave save = planMonthTableSave(grid, readWaterYearFile(flowFile), locale);
    if (!save.changed.empty())
        writeDayRecords(flowFile, save.changed);
    return save;
}

std::string keptCellsMessage(const std::vector<KeptCell>& kept) {
    std::string message = "Aşağıdaki hücreler sayıya ya da saate çevrilemedi; bu günlerin kayıtlı değerleri "
                          "değiştirilmedi:";
    for (const KeptCell& cell : kept)
        message += "\n" + cell.dateText + "  " + trimmed(cell.heading) + ": \"" + cell.text + "\"";
    return message;
}

} // namespace korvel
