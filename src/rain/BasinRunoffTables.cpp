#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "rain/BasinCells.h"
#include "rain/BasinTables.h"

namespace korvel {

namespace {

constexpr const char* kDailyPattern = "###0.0";
constexpr std::array<const char*, 12> kLowerMonthNames{"ekim",    "kasım",  "aralık",  "ocak",
                                                       "şubat",   "mart",   "nisan",   "mayıs",
                                                       "haziran", "temmuz", "agustos", "eylül"};
// The durations of the heavy-rain table, the analysis's boxes 2..12.
constexpr std::array<const char*, 11> kDurationHeadings{" 5", " 10", " 15", " 20", " 30", " 45",
                                                        "60", "90",  "120", "360", "1440"};

void setIfNotZero(Table& grid, int row, int column, double value, const Locale& locale) {
    if (value != 0.0)
        grid.setCell(row, column, formatNumber(value, kDailyPattern, locale));
}

Table dailyBasinGrid(const BasinInputs& inputs, const Locale& locale) {
    Table grid(37, 25, 1, 1);
    grid.setColumnWidth(0, 380);
    for (int k = 1; k <= 12; ++k) {
        const char* name = kLowerMonthNames[static_cast<std::size_t>(k - 1)];
        grid.setCell(0, 2 * k - 1, name);
        grid.setCell(0, 2 * k, name);
        grid.setCell(1, 2 * k - 1, "P");
        grid.setCell(1, 2 * k, "Q");
        grid.setCell(2, 2 * k - 1, "mm.");
        grid.setCell(2, 2 * k, "m3/s");
        grid.setColumnWidth(2 * k - 1, 400);
        grid.setColumnWidth(2 * k, 480);
    }
    for (int row = 1; row <= 33; ++row)
        grid.setRowHeight(row, 220);
    for (int row = 34; row <= 36; ++row)
        grid.setRowHeight(row, 600);
    for (int d = 1; d <= 31; ++d)
        grid.setCell(d + 2, 0, std::to_string(d));
    grid.setCell(34, 0, "Ay. top. yağ.");
    grid.setCell(35, 0, "Ay. ort. debi");
    grid.setCell(36, 0, "Max.");

    const AnnualFlow& flow = inputs.flowGauge.flow;
    for (int k = 1; k <= 12; ++k) {
        for (int d = 1; d <= 31; ++d) {
            const auto q = dailyDischargeCell(flow, k, d);
            if (q && *q != 0.0)
                grid.setCell(d + 2, 2 * k, locale.numberText(*q));
        }
        const AnnualMonth& month = flow.months[static_cast<std::size_t>(k - 1)];
        if (month.mean)
            setIfNotZero(grid, 35, 2 * k, *month.mean, locale);
        setIfNotZero(grid, 36, 2 * k, shownNumber32(month.instMax), locale);
    }

    for (int k = 1; k <= 12; ++k) {
        double total = 0.0;
        double largest = 0.0;
        for (int d = 1; d <= 31; ++d) {
            double sum = 0.0;
            for (const BasinGauge& gauge : inputs.gauges)
                sum += dailyRainMm(gauge.analysis, k, d);
            const double basinDailyRain = sum / 3.0;
            setIfNotZero(grid, d + 2, 2 * k - 1, basinDailyRain, locale);
            total += basinDailyRain;
            if (basinDailyRain > largest)
                largest = basinDailyRain;
        }
        setIfNotZero(grid, 34, 2 * k - 1, total, locale);
        setIfNotZero(grid, 36, 2 * k - 1, largest, locale);
    }
    return grid;
}

double cellNumber(const Table& grid, int row, int column, const Locale& locale) {
    return locale.parseNumber(grid.cell(row, column)).value_or(0.0);
}

Table monthlyRunoffGrid(const BasinInputs& inputs, const Table& daily, const Locale& locale) {
    Table grid(7, 14, 1, 1);
    grid.setColumnWidth(0, 1400);
    for (int k = 1; k <= 12; ++k)
        grid.setColumnWidth(k, 480);
    grid.setColumnWidth(13, 550);
    setMonthHeadings(grid);
    const char* rows[] = {"Aylık yağış (mm)",   "Aylık akım (mm)", "Yüzey akış (mm)",
                          "Yüzeyaltı akım(mm)", "Ana akım(mm)",    "Yüzey akış kts.(%)"};
    for (int r = 0; r < 6; ++r)
        grid.setCell(r + 1, 0, rows[r]);
    double rainSum = 0.0;
    double runoffSum = 0.0;
    for (int k = 1; k <= 12; ++k) {
        grid.setCell(1, k, daily.cell(34, 2 * k - 1));
        rainSum += cellNumber(daily, 34, 2 * k - 1, locale);
        const auto& depth = inputs.flowGauge.flow.months[static_cast<std::size_t>(k - 1)].depth;
        if (depth) {
            grid.setCell(2, k, locale.numberText(*depth));
            runoffSum += *depth;
        }
    }
    grid.setCell(1, 13, locale.numberText(rainSum));
    grid.setCell(2, 13, locale.numberText(runoffSum));
    return grid;
}

Table seasonGrid(const Table& monthly, const Locale& locale) {
    Table grid(2, 9, 1, 0);
    for (int c = 0; c < 9; ++c)
        grid.setColumnWidth(c, 700);
    for (int c = 0; c < 8; ++c)
        grid.setCell(0, c, c % 2 == 0 ? "mm" : "%");
    const auto month = [&](int column) { return cellNumber(monthly, 1, column, locale); };
    const std::array<double, 4> seasons{
        month(6) + month(7) + month(8),   // spring: March, April, May
        month(9) + month(10) + month(11), // summer: June, July, August
        month(12) + month(1) + month(2),  // autumn: September, October, November
        month(3) + month(4) + month(5),   // winter: December, January, February
    };
    const double total = seasons[0] + seasons[1] + seasons[2] + seasons[3];
    for (int i = 0; i < 4; ++i) {
        grid.setCell(1, 2 * i, locale.numberText(seasons[static_cast<std::size_t>(i)]));
        // A year without rain has no shares; their cells stay empty.
        if (total != 0.0)
            grid.setCell(1, 2 * i + 1,
                         formatNumber(100.0 * seasons[static_cast<std::size_t>(i)] / total, "##.#", locale));
    }
    grid.setCell(1, 8, locale.numberText(total));
    return grid;
}

Table heavyRainGrid(const BasinInputs& inputs, const Locale& locale) {
    Table grid(10, 13, 1, 1);
    grid.setColumnWidth(0, 700);
    grid.setColumnWidth(1, 1500);
    grid.setCell(0, 0, "İstasyon");
    grid.setCell(0, 1, "Zaman (Dakika)");
    for (int c = 2; c <= 12; ++c) {
        grid.setColumnWidth(c, 480);
        grid.setCell(0, c, kDurationHeadings[static_cast<std::size_t>(c - 2)]);
    }
    for (int s = 0; s < kBasinGaugeCount; ++s) {
        const BasinGauge& gauge = inputs.gauges[static_cast<std::size_t>(s)];
        const int first = 3 * s + 1;
        grid.setCell(first, 1, "Yağış derinliği(mm)");
        grid.setCell(first + 1, 1, "Yağış şiddeti(mm/h)");
        grid.setCell(first + 2, 1, "Yağış tarihi");
        grid.setCell(first + 1, 0, trimmed(gaugeNumberText(gauge.stationNumber, 5)));
        for (int c = 2; c <= 12; ++c) {
            const auto index = static_cast<std::size_t>(c - 1);
            const DurationMaximum& maximum = gauge.analysis.durations[index];
            // A duration that saw no rain has no depth, intensity or date.
            if (!maximum.found() || maximum.day.isEmpty())
                continue;
            const double depth = maximum.tenths / 10.0;
            grid.setCell(first, c, locale.numberText(depth));
            grid.setCell(first + 1, c, formatNumber(depth * 60.0 / kRainDurations[index], "###.#", locale));
            grid.setCell(first + 2, c, utf8Left(locale.shortDate(maximum.day), 5));
        }
    }
    return grid;
}

} // namespace

Sheet basinDailySheet(const BasinInputs& inputs, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Tablolar(2)";
    sheet.setText("title", "Çizelge 9.2        Havzası  ortalama günlük yağışları ve akım istasyonu günlük "
                           "ortalama debileri");
    sheet.setTable("MSFlexGrid1", dailyBasinGrid(inputs, locale));
    return sheet;
}

Sheet basinRunoffSheet(const BasinInputs& inputs, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Su yılı aylık yağış , yüzey akış ,yüzeyaltı akım,ana akım miktarları";
    sheet.setText("title1",
                  "Çizelge 9.3  Havzası    su yılı aylık yağış , yüzey akış ,yüzeyaltı akım , ana akım "
                  "miktarları ve yüzey akış katsayıları");
    sheet.setText("title2", "Çizelge 9.4  su yılında yağışların mevsimlik dağılımı");
    sheet.setText("title3", "Çizelge 9.5  su yılı belirli süreli siddetli yağışları");
    sheet.setText("seasonHeading",
                  "           İlk Bahar                     yaz                    sonbahar      "
                  "              kış                  toplam");
    const Table monthly = monthlyRunoffGrid(inputs, dailyBasinGrid(inputs, locale), locale);
    sheet.setTable("MSFlexGrid1", monthly);
    sheet.setTable("MSFlexGrid2", seasonGrid(monthly, locale));
    sheet.setTable("MSFlexGrid3", heavyRainGrid(inputs, locale));
    return sheet;
}

} // namespace korvel
