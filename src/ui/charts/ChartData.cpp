#include "ui/charts/ChartData.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr std::array<int, 12> kWaterYearMonthDays = {31, 30, 31, 31, 28, 31, 30, 31, 30, 31, 31, 30};
constexpr int kFebruaryColumn = 5;

} // namespace

void GappedLine::add(double x, std::optional<double> y) {
    if (!y) {
        if (!segments.isEmpty() && !segments.back().isEmpty())
            segments.append(QList<QPointF>{});
        return;
    }
    if (segments.isEmpty())
        segments.append(QList<QPointF>{});
    segments.back().append(QPointF(x, *y));
}

qsizetype GappedLine::pointCount() const {
    qsizetype count = 0;
    for (const auto& segment : segments)
        count += segment.size();
    return count;
}

double GappedLine::largest() const {
    double top = 0.0;
    for (const auto& segment : segments)
        for (const QPointF& p : segment)
            top = std::max(top, p.y());
    return top;
}

MonthChartData monthChartData(const MonthFlow& flow, const Locale& locale) {
    MonthChartData data;
    data.level.name = QStringLiteral("Ort. seviye (mm)");
    data.discharge.name = QStringLiteral("Debi (m3/s)");
    int row = 0;
    for (const MonthDay& day : flow.days) {
        if (row + 1 >= kMonthGridRows || day.day.date.isEmpty())
            break;
        ++row;
        const bool levelShown = !sourceIsDischarge(day.day.source) && !isBlankSource(day.day.source);
        data.level.add(row, levelShown ? std::optional<double>(day.day.meanValue) : std::nullopt);
        data.discharge.add(row, day.discharge);
        data.dayLabels.append(QString::fromStdString(locale.shortDate(day.day.date)));
    }
    data.dayCount = row;
    return data;
}

AnnualChartData annualChartData(const AnnualFlow& flow) {
    AnnualChartData data;
    data.discharge.name = QStringLiteral("Günlük debi (m3/s)");
    int x = 0;
    for (const AnnualMonth& month : flow.months) {
        for (const AnnualDay& day : month.days) {
            if (day.dayOfMonth == 0)
                continue;
            data.discharge.add(++x, day.discharge);
        }
        data.monthEnds.append(x);
    }
    data.dayCount = x;
    return data;
}

GappedLine readingsLine(const DayReadings& readings) {
    GappedLine line;
    line.name = QStringLiteral("Anlık seviye");
    for (const DayReadings::Reading& r : readings.readings)
        line.add(r.minute / 60.0, r.value);
    return line;
}

RainChartData rainChartData(const RainYearAnalysis& analysis) {
    RainChartData data;
    data.daily.name = QStringLiteral("Günlük toplam (mm)");
    data.monthly.name = QStringLiteral("Aylık toplam (mm)");
    const bool leap = analysis.yearDays >= 366;
    int x = 0;
    for (int column = 1; column <= 12; ++column) {
        const int first = x + 1;
        int days = kWaterYearMonthDays[static_cast<std::size_t>(column - 1)];
        if (column == kFebruaryColumn && leap)
            ++days;
        for (int day = 1; day <= days; ++day)
            data.daily.add(
                ++x,
                analysis.dailyTenths[static_cast<std::size_t>(column)][static_cast<std::size_t>(day)] / 10.0);
        data.monthly.add((first + x) / 2.0,
                         analysis.months[static_cast<std::size_t>(column)].totalTenths / 10.0);
        data.monthEnds.append(x);
    }
    data.dayCount = x;
    return data;
}

} // namespace korvel
