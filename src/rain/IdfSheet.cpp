#include "rain/IdfSheet.h"

#include "core/NumberFormat.h"

namespace korvel {

namespace {

constexpr int kLabelWidth = 1100;
constexpr int kValueWidth = 900;
constexpr int kIntervalWidth = 1300;

std::string durationHeading(int minutes) {
    return std::to_string(minutes) + " dk";
}

std::string mmText(double value, const Locale& locale) {
    return formatNumber(value, "###0.0", locale);
}

// Years down, durations across.
Table maximaTable(const AnnualMaxima& maxima) {
    Table table(static_cast<int>(maxima.years.size()) + 1, static_cast<int>(maxima.durations.size()) + 1);
    table.setCell(0, 0, "Su yılı");
    table.setColumnWidth(0, kLabelWidth);
    for (std::size_t d = 0; d < maxima.durations.size(); ++d)
        table.setCell(0, static_cast<int>(d) + 1, durationHeading(maxima.durations[d]));
    for (std::size_t y = 0; y < maxima.years.size(); ++y)
        table.setCell(static_cast<int>(y) + 1, 0, std::to_string(maxima.years[y]));
    return table;
}

Table depthsTable(const AnnualMaxima& maxima, const Locale& locale) {
    Table table = maximaTable(maxima);
    for (std::size_t y = 0; y < maxima.years.size(); ++y)
        for (std::size_t d = 0; d < maxima.durations.size(); ++d)
            if (const auto& depth = maxima.depths[y][d])
                table.setCell(static_cast<int>(y) + 1, static_cast<int>(d) + 1, locale.numberText(*depth));
    return table;
}

Table startsTable(const AnnualMaxima& maxima, const Locale& locale) {
    Table table = maximaTable(maxima);
    for (std::size_t d = 0; d < maxima.durations.size(); ++d)
        table.setColumnWidth(static_cast<int>(d) + 1, 1500);
    for (std::size_t y = 0; y < maxima.years.size(); ++y)
        for (std::size_t d = 0; d < maxima.durations.size(); ++d)
            if (const auto& start = maxima.starts[y][d])
                table.setCell(static_cast<int>(y) + 1, static_cast<int>(d) + 1,
                              locale.shortDate(*start) + " " + locale.longTime(*start).substr(0, 5));
    return table;
}

// Durations down, return periods across.
Table quantileFrame(const IdfAnalysis& idf, int valueWidth) {
    Table table(static_cast<int>(idf.maxima.durations.size()) + 1,
                static_cast<int>(idf.returnPeriods.size()) + 1);
    table.setCell(0, 0, "Süre");
    table.setColumnWidth(0, kLabelWidth);
    for (std::size_t t = 0; t < idf.returnPeriods.size(); ++t) {
        table.setCell(0, static_cast<int>(t) + 1, std::to_string(idf.returnPeriods[t]) + " yıl");
        table.setColumnWidth(static_cast<int>(t) + 1, valueWidth);
    }
    for (std::size_t d = 0; d < idf.maxima.durations.size(); ++d)
        table.setCell(static_cast<int>(d) + 1, 0, durationHeading(idf.maxima.durations[d]));
    return table;
}

// The quantiles as depths (factor 1 for every duration) or intensities (60 / minutes).
Table quantileTable(const IdfAnalysis& idf, const IdfQuantiles& q, bool intensity, bool interval,
                    const Locale& locale) {
    Table table = quantileFrame(idf, interval ? kIntervalWidth : kValueWidth);
    for (std::size_t d = 0; d < idf.maxima.durations.size(); ++d) {
        const double factor = intensity ? intensityOf(1.0, idf.maxima.durations[d]) : 1.0;
        for (std::size_t t = 0; t < idf.returnPeriods.size(); ++t) {
            std::string text;
            if (interval && q.interval[d][t])
                text = mmText((*q.interval[d][t])[0] * factor, locale) + " - " +
                       mmText((*q.interval[d][t])[1] * factor, locale);
            else if (!interval && q.depth[d][t])
                text = mmText(*q.depth[d][t] * factor, locale);
            table.setCell(static_cast<int>(d) + 1, static_cast<int>(t) + 1, text);
        }
    }
    return table;
}

Table parametersTable(const IdfAnalysis& idf, const Locale& locale) {
    const char* headings[] = {"Süre",      "Yıl sayısı", "Gumbel konum", "Gumbel ölçek",
                              "GEV konum", "GEV ölçek",  "GEV biçim"};
    Table table(static_cast<int>(idf.maxima.durations.size()) + 1, 7);
    for (int c = 0; c < 7; ++c) {
        table.setCell(0, c, headings[c]);
        table.setColumnWidth(c, c == 0 ? kLabelWidth : 1200);
    }
    const auto number = [&](double v) { return formatNumber(v, "###0.000", locale); };
    for (std::size_t d = 0; d < idf.maxima.durations.size(); ++d) {
        const int row = static_cast<int>(d) + 1;
        const DurationFits& fits = idf.fits[d];
        table.setCell(row, 0, durationHeading(idf.maxima.durations[d]));
        table.setCell(row, 1, std::to_string(fits.sampleSize));
        if (fits.gumbel) {
            table.setCell(row, 2, number(fits.gumbel->location));
            table.setCell(row, 3, number(fits.gumbel->scale));
        }
        if (fits.gev) {
            table.setCell(row, 4, number(fits.gev->location));
            table.setCell(row, 5, number(fits.gev->scale));
            table.setCell(row, 6, number(fits.gev->shape));
        }
    }
    return table;
}

std::string yearsText(const AnnualMaxima& maxima) {
    std::string text = "Kullanılan su yılları (" + std::to_string(maxima.years.size()) + "):";
    for (int year : maxima.years)
        text += " " + std::to_string(year);
    return text;
}

} // namespace

std::string distributionName(ExtremeDistribution distribution) {
    return distribution == ExtremeDistribution::Gumbel ? "Gumbel (EV1)" : "GEV";
}

Sheet idfSheet(const IdfAnalysis& idf, ExtremeDistribution shown, std::string_view stationNumber,
               const std::vector<LeftOutRainYear>& leftOut, const Locale& locale) {
    Sheet sheet;
    sheet.caption = std::string(stationNumber) + kIdfCaptionTail;
    const IdfQuantiles& q = idf.quantiles(shown);
    sheet.setTable("maxima", depthsTable(idf.maxima, locale));
    sheet.setTable("maximumStarts", startsTable(idf.maxima, locale));
    sheet.setTable("depth", quantileTable(idf, q, false, false, locale));
    sheet.setTable("depthInterval", quantileTable(idf, q, false, true, locale));
    sheet.setTable("intensity", quantileTable(idf, q, true, false, locale));
    sheet.setTable("intensityInterval", quantileTable(idf, q, true, true, locale));
    sheet.setTable("parameters", parametersTable(idf, locale));
    sheet.setText("distribution", "Dağılım: " + distributionName(shown) +
                                      ", L-momentler ile; yükseklikler mm, şiddetler mm/saat");
    sheet.setText("years", yearsText(idf.maxima));
    sheet.setText("leftOut", skippedFilesText(leftOut));
    sheet.setText("interval", "Aralıklar: %90 güven aralığı, parametrik bootstrap (" +
                                  std::to_string(idf.resamples) + " örnek)");
    return sheet;
}

} // namespace korvel
