#include "flow/FlowRecordSheet.h"

#include "flow/AnnualFlow.h"

namespace korvel {

namespace {

constexpr const char* kUnitsText = "Debiler m³/s";
constexpr std::array<int, 3> kNamedPercents{5, 50, 95};

std::string optionalDischarge(const std::optional<double>& value, const Locale& locale) {
    return value ? dischargeText(*value, locale) : std::string();
}

Table durationTable(const FlowDuration& duration, const Locale& locale) {
    const int columns = 2 + static_cast<int>(duration.years.size());
    Table table(kDurationPercents + 1, columns);
    table.setCell(0, 0, "Aşılma %");
    table.setCell(0, 1, "Tüm yıllar");
    for (std::size_t y = 0; y < duration.years.size(); ++y)
        table.setCell(0, static_cast<int>(y) + 2, std::to_string(duration.years[y].waterYear));
    for (int p = 1; p <= kDurationPercents; ++p) {
        table.setCell(p, 0, std::to_string(p));
        const auto at = static_cast<std::size_t>(p - 1);
        if (!duration.curve.empty())
            table.setCell(p, 1, dischargeText(duration.curve[at], locale));
        for (std::size_t y = 0; y < duration.years.size(); ++y)
            if (!duration.years[y].curve.empty())
                table.setCell(p, static_cast<int>(y) + 2, dischargeText(duration.years[y].curve[at], locale));
    }
    return table;
}

void setYearRow(Table& table, int row, const std::string& label, std::size_t days, std::size_t missing,
                const std::vector<double>& curve, const Locale& locale) {
    table.setCell(row, 0, label);
    table.setCell(row, 1, std::to_string(days));
    table.setCell(row, 2, std::to_string(missing));
    for (std::size_t i = 0; i < kNamedPercents.size(); ++i)
        if (!curve.empty())
            table.setCell(row, static_cast<int>(i) + 3,
                          dischargeText(curve[static_cast<std::size_t>(kNamedPercents[i] - 1)], locale));
}

Table yearsTable(const FlowDuration& duration, const Locale& locale) {
    Table table(static_cast<int>(duration.years.size()) + 2, 6);
    const char* headings[] = {"Su yılı", "Sayılan gün", "Debisiz gün", "Q5", "Q50", "Q95"};
    for (int c = 0; c < 6; ++c)
        table.setCell(0, c, headings[c]);
    int row = 1;
    for (const YearDuration& year : duration.years)
        setYearRow(table, row++, std::to_string(year.waterYear), year.days,
                   static_cast<std::size_t>(year.missingDays), year.curve, locale);
    setYearRow(table, row, "Tüm yıllar", duration.days, duration.missingDays, duration.curve, locale);
    return table;
}

std::string dayText(const std::optional<RecordDay>& day, const Locale& locale, bool date) {
    if (!day)
        return {};
    return date ? locale.shortDate(day->date) : dischargeText(day->discharge, locale);
}

Table annualTable(const FlowRecord& record, const Locale& locale) {
    Table table(static_cast<int>(record.years.size()) + 1, 8);
    const char* headings[] = {"Su yılı",         "Yıllık ortalama", "En büyük günlük", "Tarihi",
                              "En küçük günlük", "Tarihi",          "Sayılan gün",     "Debisiz gün"};
    for (int c = 0; c < 8; ++c) {
        table.setCell(0, c, headings[c]);
        table.setColumnWidth(c, 1300);
    }
    int row = 1;
    for (const FlowRecordYear& year : record.years) {
        table.setCell(row, 0, std::to_string(year.waterYear));
        table.setCell(row, 1, dischargeText(year.annualMean, locale));
        table.setCell(row, 2, dayText(year.largest, locale, false));
        table.setCell(row, 3, dayText(year.largest, locale, true));
        table.setCell(row, 4, dayText(year.smallest, locale, false));
        table.setCell(row, 5, dayText(year.smallest, locale, true));
        table.setCell(row, 6, std::to_string(year.days.size()));
        table.setCell(row, 7, std::to_string(year.missingDays));
        ++row;
    }
    return table;
}

std::string periodText(const FlowRecord& record) {
    if (record.years.empty())
        return "Su yılı yok";
    return "Su yılları " + std::to_string(record.years.front().waterYear) + " - " +
           std::to_string(record.years.back().waterYear) + " (" + std::to_string(record.years.size()) +
           " yıl)";
}

} // namespace

Sheet flowDurationSheet(const FlowDuration& duration, std::string_view stationNumber, const Locale& locale) {
    Sheet sheet;
    sheet.caption = std::string(stationNumber) + "  nolu istasyonun akım süreklilik eğrisi";
    sheet.setTable("duration", durationTable(duration, locale));
    sheet.setTable("years", yearsTable(duration, locale));
    for (int p : kNamedPercents)
        sheet.setText("Q" + std::to_string(p),
                      "Q" + std::to_string(p) + " = " + optionalDischarge(duration.exceeded(p), locale));
    sheet.setText("days", "Sayılan gün: " + std::to_string(duration.days) +
                              ", debisi olmayan gün: " + std::to_string(duration.missingDays));
    sheet.setText("units", kUnitsText);
    return sheet;
}

Sheet flowRecordSheet(const FlowRecord& record, std::string_view stationNumber, const Locale& locale) {
    Sheet sheet;
    sheet.caption = std::string(stationNumber) + "  nolu istasyonun uzun dönem akım kaydı";
    sheet.setTable("annual", annualTable(record, locale));
    sheet.setText("period", periodText(record));
    sheet.setText("leftOut", skippedFilesText(record.leftOut));
    sheet.setText("units", kUnitsText);
    return sheet;
}

} // namespace korvel
