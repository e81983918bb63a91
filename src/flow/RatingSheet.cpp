#include "flow/RatingSheet.h"

#include "core/NumberFormat.h"
#include "flow/StationHeader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

constexpr const char* kDischargePattern = "###0.000";
constexpr const char* kLevelPattern = "###0";
constexpr const char* kPercentPattern = "###0.0";
constexpr double kCurveStep = 10.0;

Table headedTable(int rows, const std::vector<std::string>& headings, int width) {
    Table table(rows + 1, static_cast<int>(headings.size()), 1, 0);
    for (std::size_t c = 0; c < headings.size(); ++c) {
        table.setCell(0, static_cast<int>(c), headings[c]);
        table.setColumnWidth(static_cast<int>(c), width);
    }
    return table;
}

Table gaugingsTable(const RatingFit& fit, const Locale& locale) {
    Table table = headedTable(
        static_cast<int>(fit.gaugings.size()),
        {"Satır", " Tarih", "Seviye(mm)", "Akım(m3/s)", "Eğri(m3/s)", "Sapma(%)", "Bantta", "Dışarıda"},
        1100);
    for (std::size_t i = 0; i < fit.gaugings.size(); ++i) {
        const GaugingFit& g = fit.gaugings[i];
        const int r = static_cast<int>(i) + 1;
        table.setCell(r, 0, std::to_string(g.gauging.row));
        table.setCell(r, 1, locale.shortDate(g.gauging.date));
        table.setCell(r, 2, formatNumber(g.gauging.level, kLevelPattern, locale));
        table.setCell(r, 3, formatNumber(g.gauging.discharge, kDischargePattern, locale));
        table.setCell(r, 4, formatNumber(g.fitted, kDischargePattern, locale));
        table.setCell(r, 5, formatNumber(g.deviationPercent, kPercentPattern, locale));
        table.setCell(r, 6, g.inBand ? "Evet" : "Hayır");
        table.setCell(r, kLeftOutColumn, g.gauging.excluded ? kLeftOutMark : "");
    }
    return table;
}

Table segmentsTable(const RatingFit& fit, const Locale& locale) {
    const auto& segments = fit.curve.segments;
    Table table = headedTable(static_cast<int>(segments.size()),
                              {"Parça", "Seviyeden(mm)", "Seviyeye(mm)", "a", "e(mm)", "b"}, 1300);
    for (std::size_t j = 0; j < segments.size(); ++j) {
        const RatingSegment& s = segments[j];
        const int r = static_cast<int>(j) + 1;
        table.setCell(r, 0, std::to_string(j + 1));
        table.setCell(r, 1, formatNumber(s.fromLevel, "###0.0", locale));
        table.setCell(r, 2, formatNumber(s.toLevel, "###0.0", locale));
        table.setCell(r, 3, significantNumber(s.a, 5, locale.decimalSeparator()));
        table.setCell(r, 4, formatNumber(s.e, "###0.0", locale));
        table.setCell(r, 5, formatNumber(s.b, "###0.000", locale));
    }
    return table;
}

// Every 10 mm of the covered range, and its two ends.
Table curveTable(const RatingFit& fit, const Locale& locale) {
    std::vector<const CurvePoint*> shown;
    for (std::size_t i = 0; i < fit.points.size(); ++i)
        if (i == 0 || i + 1 == fit.points.size() || std::fmod(fit.points[i].level, kCurveStep) == 0.0)
            shown.push_back(&fit.points[i]);
    Table table =
        headedTable(static_cast<int>(shown.size()),
                    {"Seviye(mm)", "Akım(m3/s)", "Güven alt", "Güven üst", "Tahmin alt", "Tahmin üst"}, 1200);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const CurvePoint& p = *shown[i];
        const int r = static_cast<int>(i) + 1;
        table.setCell(r, 0, formatNumber(p.level, kLevelPattern, locale));
        const double values[] = {p.discharge, p.confidenceLow, p.confidenceHigh, p.predictionLow,
                                 p.predictionHigh};
        for (int c = 0; c < 5; ++c)
            table.setCell(r, c + 1, formatNumber(values[c], kDischargePattern, locale));
    }
    return table;
}

} // namespace

std::string significantNumber(double value, int digits, char decimalSeparator) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', decimalSeparator);
    return result;
}

Sheet ratingSheet(const RatingFit& fit, const StationRecord& station, const Locale& locale) {
    Sheet sheet;
    sheet.caption = station.stationNumber + "  nolu istasyonun anahtar eğrisi";
    addStationHeader(sheet, station, locale);
    sheet.setTable("gaugings", gaugingsTable(fit, locale));
    sheet.setTable("segments", segmentsTable(fit, locale));
    sheet.setTable("curve", curveTable(fit, locale));
    const std::string count = std::to_string(fit.curve.segments.size());
    sheet.setText("segmentChoice", fit.segmentsChosen ? "Parça sayısı BIC ölçütü ile seçildi: " + count
                                                      : "Parça sayısı: " + count);
    sheet.setText("standardError",
                  "Tahminin standart hatası: %" + formatNumber(fit.standardErrorPercent, "###0.0", locale));
    sheet.setText("gaugingCount", "Eğride kullanılan ölçü: " + std::to_string(fit.usedCount) + " (" +
                                      locale.shortDate(fit.firstDate) + " - " +
                                      locale.shortDate(fit.lastDate) + ")");
    const auto level = [&](double h) { return locale.numberText(h); };
    std::string range = "Eğrinin kapsadığı seviyeler: " + level(fit.coveredFrom) + " - " +
                        level(fit.coveredTo) + " mm (ölçülen " + level(fit.lowestGauged) + " - " +
                        level(fit.highestGauged) + " mm)";
    if (fit.coveredFrom == fit.lowestGauged && fit.coveredTo == fit.highestGauged)
        range += "; eğri bu aralığın dışına uzatılmadı";
    sheet.setText("range", range);
    return sheet;
}

} // namespace korvel
