#include "rain/BasinCells.h"
#include "rain/BasinTables.h"

namespace korvel {

namespace {

constexpr std::array<double, 6> kRainyDayThresholds{0.1, 1.0, 2.5, 5.0, 10.0, 25.0};
constexpr std::array<const char*, 6> kRainyDayLabels{"    >= 0,1 mm", "    >= 1,0 mm",  "    >= 2,5 mm",
                                                     "    >= 5,0 mm", "    >= 10,0 mm", "    >= 25,0 mm"};
constexpr std::array<const char*, 5> kFlowClassLabels{"0  - 0,25 mm", "0,25 - 0,50 mm", "0,50 - 1,00 mm",
                                                      "1,00 - 1,50 mm", "1,50 mm büyük "};

Table monthCountGrid(int rows, int labelWidth) {
    Table grid(rows, 14, 1, 1);
    grid.setColumnWidth(0, labelWidth);
    for (int k = 1; k <= 13; ++k)
        grid.setColumnWidth(k, 400);
    setMonthHeadings(grid);
    return grid;
}

void writeCounts(Table& grid, int row, const std::array<int, 13>& counts) {
    int sum = 0;
    for (int k = 1; k <= 12; ++k) {
        grid.setCell(row, k, std::to_string(counts[static_cast<std::size_t>(k)]));
        sum += counts[static_cast<std::size_t>(k)];
    }
    grid.setCell(row, 13, std::to_string(sum));
}

} // namespace

int rainyDayClassCount(double dailyMm) {
    int classes = 0;
    for (double threshold : kRainyDayThresholds)
        classes += dailyMm >= threshold ? 1 : 0;
    return classes;
}

int flowClassOf(double discharge, double drainageArea) {
    // Without a drainage area a day has no runoff depth and no class.
    if (drainageArea == 0.0)
        return 0;
    const double r = discharge * 86.4 / drainageArea;
    if (r > 0.0 && r < 0.25)
        return 1;
    if (r >= 0.25 && r < 0.5)
        return 2;
    if (r >= 0.5 && r < 1.0)
        return 3;
    if (r >= 1.0 && r < 1.5)
        return 4;
    if (r >= 1.5)
        return 5;
    return 0;
}

Sheet rainyDaySheet(const BasinInputs& inputs, const Locale& /*locale*/) {
    Sheet sheet;
    sheet.caption = "Tablolar(4)";
    sheet.setText("title1", "Çizelge 9.6  su yılında  havzasında yağışlı günler sayısı");
    sheet.setText("title2", "Çizelge 9.7   Su yılında  havzasında akımların miktarlarına göre gün sayıları");

    Table rain = monthCountGrid(19, 1100);
    for (int s = 0; s < kBasinGaugeCount; ++s) {
        std::array<std::array<int, 13>, 6> counts{};
        const RainYearAnalysis& analysis = inputs.gauges[static_cast<std::size_t>(s)].analysis;
        for (int k = 1; k <= 12; ++k)
            for (int d = 1; d <= 31; ++d) {
                const int classes = rainyDayClassCount(dailyRainMm(analysis, k, d));
                for (int c = 0; c < classes; ++c)
                    ++counts[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)];
            }
        for (int c = 0; c < 6; ++c) {
            rain.setCell(6 * s + c + 1, 0, kRainyDayLabels[static_cast<std::size_t>(c)]);
            writeCounts(rain, 6 * s + c + 1, counts[static_cast<std::size_t>(c)]);
        }
    }
    sheet.setTable("MSFlexGrid1", rain);

    Table flow = monthCountGrid(6, 1250);
    std::array<std::array<int, 13>, 6> counts{};
    for (int k = 1; k <= 12; ++k)
        for (int d = 1; d <= 31; ++d) {
            const auto q = dailyDischargeCell(inputs.flowGauge.flow, k, d);
            if (const int f = q ? flowClassOf(*q, inputs.flowGauge.drainageArea) : 0; f > 0)
                ++counts[static_cast<std::size_t>(f)][static_cast<std::size_t>(k)];
        }
    for (int f = 1; f <= 5; ++f) {
        flow.setCell(f, 0, kFlowClassLabels[static_cast<std::size_t>(f - 1)]);
        writeCounts(flow, f, counts[static_cast<std::size_t>(f)]);
    }
    sheet.setTable("MSFlexGrid2", flow);
    return sheet;
}

Sheet multiYearSummarySheet() {
    Sheet sheet;
    sheet.caption = "Form1";
    Table grid(20, 7, 1, 1);
    grid.setRowHeight(0, 800);
    const char* headings[] = {"Yıllar",
                              "Yıllık toplam yağış  (mm)",
                              "Yıllık toplam akım (mm)",
                              "Yıllık toplam yüzey akış (mm)",
                              "Yüzey akış katsayısı (%)",
                              "En büyük taşkın debisi(m3/s)",
                              "Günlük en yüksek akım (mm)"};
    for (int c = 0; c < 7; ++c) {
        grid.setColumnWidth(c, 800);
        grid.setCell(0, c, headings[c]);
    }
    sheet.setTable("MSFlexGrid1", grid);
    return sheet;
}

} // namespace korvel
