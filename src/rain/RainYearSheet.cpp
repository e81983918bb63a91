#include "rain/RainYearSheet.h"

#include "store/StationRecord.h"

namespace korvel {

namespace {

constexpr std::array<const char*, 12> kMonthNames{"Ekim",  "Kasım", "Aralık",  "Ocak",   "Şubat",   "Mart",
                                                  "Nisan", "Mayıs", "Haziran", "Temmuz", "Agustos", "Eylül"};

std::string mmText(int tenths, const Locale& locale) {
    return locale.numberText(tenths / 10.0);
}

} // namespace

const std::array<const char*, kRainDurationCount> kDurationCaptions{
    "Bir dakikalık maximum", "Beş dakikalık maximum",  "On dakikalık maximum", "onbeş dakikalık  maximum",
    "20 Dakikalık",          "Otuz dakikalık maximum", "45 Dakikalık",         "Bir saatlik maximum",
    "90 dakikalık",          "120 dakıkalık",          "360 dakikalık",        "1440 dakikalık"};

std::string durationBoxName(int index) {
    return "Text" + std::to_string(index + 1);
}

std::string durationBoxText(const DurationMaximum& maximum, const Locale& locale) {
    const std::string date =
        maximum.found() && !maximum.day.isEmpty() ? locale.shortDate(maximum.day) : std::string();
    const OleDate start = OleDate::fromTime(maximum.startMinute / 60, maximum.startMinute % 60, 0);
    return date + "_" + locale.longTime(start) + "_" + mmText(maximum.tenths, locale);
}

Table dailyGridTable(const RainYearAnalysis& analysis, const Locale& locale) {
    Table table(32, 13, 1, 1);
    table.setCell(0, 0, "Gün");
    table.setColumnWidth(0, 400);
    for (int column = 1; column <= 12; ++column) {
        table.setCell(0, column, kMonthNames[static_cast<std::size_t>(column - 1)]);
        table.setColumnWidth(column, 750);
    }
    for (int day = 1; day <= 31; ++day) {
        table.setCell(day, 0, std::to_string(day));
        for (int column = 1; column <= 12; ++column) {
            const int tenths =
                analysis.dailyTenths[static_cast<std::size_t>(column)][static_cast<std::size_t>(day)];
            if (tenths != 0)
                table.setCell(day, column, mmText(tenths, locale));
        }
    }
    return table;
}

Table summaryGridTable(const RainYearAnalysis& analysis, const Locale& locale) {
    Table table(3, 13, 0, 1);
    table.setCell(0, 0, "Aylık top.");
    table.setCell(1, 0, "Aylık max.");
    table.setCell(2, 0, "Yağ.Gün.S.");
    table.setColumnWidth(0, 900);
    for (int column = 1; column <= 12; ++column) {
        const RainMonthSummary& month = analysis.months[static_cast<std::size_t>(column)];
        table.setColumnWidth(column, 750);
        table.setCell(0, column, mmText(month.totalTenths, locale));
        table.setCell(1, column, mmText(month.largestTenths, locale));
        table.setCell(2, column, std::to_string(month.rainyDays));
    }
    return table;
}

std::string rainAnalysisCaption(std::string_view stationNumber) {
    return fixedText(stationNumber, StationRecord::stationNumberWidth) + "  nolu istasyonun " +
           "Pluviograf yağış değerlerinin analizi";
}

Sheet rainYearAnalysisSheet(const RainYearAnalysis& analysis, std::string_view stationNumber,
                            const Locale& locale) {
    Sheet sheet;
    sheet.caption = rainAnalysisCaption(stationNumber);
    sheet.setTable(kDailyGridName, dailyGridTable(analysis, locale));
    sheet.setTable(kSummaryGridName, summaryGridTable(analysis, locale));
    // The monthly figures stand under the month columns of the daily grid.
    sheet.alignColumns(kSummaryGridName, kDailyGridName);
    sheet.setText(kRainyDaysLabel, "Yağışlı günler sayısı.. " + std::to_string(analysis.rainyDays));
    sheet.setText(kAnnualTotalLabel, "Yıllık toplam yağış= " + mmText(analysis.annualTenths, locale));
    const std::string largestDate =
        analysis.largestDay.isEmpty() ? std::string() : locale.shortDate(analysis.largestDay);
    sheet.setText(kLargestDayLabel, "Yıllık max. yağış= " + mmText(analysis.largestDayTenths, locale) +
                                        " Tarihi= " + largestDate);
    sheet.setText(kUnitsLabel, kUnitsText);
    for (int i = 0; i < kRainDurationCount; ++i) {
        sheet.setText(durationBoxName(i),
                      durationBoxText(analysis.durations[static_cast<std::size_t>(i)], locale));
        sheet.setLabel(durationBoxName(i), kDurationCaptions[static_cast<std::size_t>(i)]);
    }
    return sheet;
}

} // namespace korvel
