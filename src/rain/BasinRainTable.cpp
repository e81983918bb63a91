#include "core/NumberFormat.h"
#include "rain/BasinCells.h"
#include "rain/BasinTables.h"

namespace korvel {

namespace {

constexpr const char* kMeanPattern = "####0.0";

Table chartTable(const std::array<double, 12>& rain, const std::array<double, 12>& runoff,
                 const Locale& locale) {
    Table chart(13, 3, 1, 1);
    chart.setCell(0, 1, "Aritmetik");
    chart.setCell(0, 2, "akış mm.");
    for (int k = 1; k <= 12; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        chart.setCell(k, 0, kRomanMonths[i]);
        chart.setCell(k, 1, locale.numberText(rain[i]));
        chart.setCell(k, 2, locale.numberText(runoff[i]));
    }
    return chart;
}

} // namespace

Sheet basinRainSheet(const BasinInputs& inputs, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Su yılı Havzası toplam ,max ve havza ortalama yağışları";
    sheet.setText(
        "title",
        "Çizelge 9.1       Su yılı            Havzası aylık  toplam ,maximum ve havza ortalam yağışları");
    sheet.setText("chartTitle", "Şekil 9.1       Havzası        su yılı  aylık yağış ve akımları");

    Table grid(9, 14, 1, 1);
    grid.setColumnWidth(0, 800);
    for (int k = 1; k <= 12; ++k)
        grid.setColumnWidth(k, 500);
    grid.setColumnWidth(13, 600);
    setMonthHeadings(grid);
    grid.setCell(4, 0, "Aritmetik");
    grid.setCell(5, 0, "Thiesen");

    // v[s][k]: the number of the gauge's total cell, column 13 the annual sum.
    std::array<std::array<double, 14>, kBasinGaugeCount> v{};
    std::array<double, kBasinGaugeCount> weight{};
    for (int s = 0; s < kBasinGaugeCount; ++s) {
        const BasinGauge& gauge = inputs.gauges[static_cast<std::size_t>(s)];
        auto& values = v[static_cast<std::size_t>(s)];
        weight[static_cast<std::size_t>(s)] = gauge.thiessenArea;
        const std::string number = gaugeNumberText(gauge.stationNumber, 5);
        grid.setCell(s + 1, 0, number);
        grid.setCell(s + 6, 0, number);
        double sum = 0.0;
        double largest = 0.0;
        for (int k = 1; k <= 12; ++k) {
            const RainMonthSummary& month = gauge.analysis.months[static_cast<std::size_t>(k)];
            const double total = month.totalTenths / 10.0;
            values[static_cast<std::size_t>(k)] = total;
            grid.setCell(s + 1, k, locale.numberText(total));
            sum += total;
            const double monthLargest = month.largestTenths / 10.0;
            grid.setCell(s + 6, k, locale.numberText(monthLargest));
            if (monthLargest > largest)
                largest = monthLargest;
        }
        values[13] = sum;
        grid.setCell(s + 1, 13, locale.numberText(sum));
        grid.setCell(s + 6, 13, formatNumber(largest, kMeanPattern, locale));
    }

    const double weightSum = weight[0] + weight[1] + weight[2];
    for (int k = 1; k <= 13; ++k) {
        const auto c = static_cast<std::size_t>(k);
        grid.setCell(4, k, formatNumber((v[0][c] + v[1][c] + v[2][c]) / 3.0, kMeanPattern, locale));
        // Without weights the Thiessen mean has no value; its cells stay empty.
        if (weightSum != 0.0)
            grid.setCell(
                5, k,
                formatNumber((v[0][c] * weight[0] + v[1][c] * weight[1] + v[2][c] * weight[2]) / weightSum,
                             kMeanPattern, locale));
    }
    sheet.setTable("MSFlexGrid1", grid);

    std::array<double, 12> rain{};
    std::array<double, 12> runoff{};
    std::array<double, 12> rainSum{};
    std::array<double, 12> runoffSum{};
    double rainRunning = 0.0;
    double runoffRunning = 0.0;
    for (int k = 1; k <= 12; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        rain[i] = locale.parseNumber(grid.cell(4, k)).value_or(0.0);
        runoff[i] = inputs.flowGauge.flow.months[i].depth.value_or(0.0);
        rainRunning += rain[i];
        runoffRunning += runoff[i];
        rainSum[i] = rainRunning;
        runoffSum[i] = runoffRunning;
    }
    sheet.setTable("chart1", chartTable(rain, runoff, locale));
    sheet.setTable("chart2", chartTable(rainSum, runoffSum, locale));
    return sheet;
}

} // namespace korvel
