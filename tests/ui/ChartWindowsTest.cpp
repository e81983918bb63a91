#include "common/PdfText.h"
#include "core/Cp1254.h"
#include "platform/Printing.h"
#include "ui/charts/ChartWindow.h"
#include "ui/rain/RainYearChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

namespace {

MonthDay monthDay(int day, std::optional<double> discharge, const char* source = "L ") {
    MonthDay d;
    d.day.date = OleDate::fromDate(2003, 11, day);
    d.day.meanValue = static_cast<float>(100 + day);
    d.day.source = fixedField(source, DayRecord::kTextWidth);
    d.discharge = discharge;
    return d;
}

// Every point of the chart's line series, series by series.
QList<QList<QPointF>> chartSegments(QChart* chart) {
    QList<QList<QPointF>> segments;
    for (QAbstractSeries* series : chart->series())
        if (auto* line = qobject_cast<QLineSeries*>(series))
            segments.append(line->points());
    return segments;
}

} // namespace

class ChartWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // Day 2 holds a given discharge (no level), day 3 has no discharge: both lines break there,
    // and the rows end at the first day without a date.
    void monthlyChartDrawsTheMonthTableWithGaps() {
        MonthFlow flow;
        flow.days = {monthDay(1, 5.5), monthDay(2, 7.0, "G "), monthDay(3, std::nullopt), monthDay(4, 6.25)};
        flow.days.push_back(MonthDay{});
        flow.days.push_back(monthDay(6, 9.0));
        Locale locale;
        MonthlyChartScreen screen(flow, QStringLiteral("Aylık grafik"), locale);
        QCOMPARE(screen.objectName(), QStringLiteral("aylıkgraffrm"));
        const MonthChartData& data = screen.data();
        QCOMPARE(data.dayCount, 4);
        using Points = QList<QPointF>;
        QCOMPARE(data.level.segments, (QList<Points>{Points{{1, 101}}, Points{{3, 103}, {4, 104}}}));
        QCOMPARE(data.discharge.segments, (QList<Points>{Points{{1, 5.5}, {2, 7.0}}, Points{{4, 6.25}}}));
        QCOMPARE(chartSegments(screen.chart()),
                 (QList<Points>{Points{{1, 101}}, Points{{3, 103}, {4, 104}}, Points{{1, 5.5}, {2, 7.0}},
                                Points{{4, 6.25}}}));
        const auto axes = screen.chart()->axes();
        QStringList titles;
        for (QAbstractAxis* axis : axes)
            titles << axis->titleText();
        QVERIFY(titles.contains(QStringLiteral("Ortalama seviye (mm)")));
        QVERIFY(titles.contains(QStringLiteral("Debi (m3/s)")));
    }

    // Days run on across the months; records without a date are left out; a day without a
    // discharge is a gap; the axis marks each month's last day.
    void annualChartRunsOverTheWaterYear() {
        AnnualFlow flow;
        flow.months[0].days = {{1, 0.0F, 2.0, false, false},
                               {2, 0.0F, std::nullopt, false, true},
                               {3, 0.0F, 4.0, false, false},
                               {0, 0.0F, std::nullopt, false, false}};
        flow.months[1].days = {{1, 0.0F, 1.5, false, false}};
        AnnualChartScreen screen(flow, QStringLiteral("Yıllık grafik"));
        QCOMPARE(screen.objectName(), QStringLiteral("yıllıkgraffrm"));
        using Points = QList<QPointF>;
        QCOMPARE(screen.data().discharge.segments,
                 (QList<Points>{Points{{1, 2.0}}, Points{{3, 4.0}, {4, 1.5}}}));
        QCOMPARE(screen.data().monthEnds.mid(0, 3), (QList<int>{3, 4, 4}));
        QCOMPARE(chartSegments(screen.chart()).size(), 2);
        auto* x = qobject_cast<QCategoryAxis*>(screen.chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(x != nullptr);
        // Months without days take no room on the axis.
        QCOMPARE(x->categoriesLabels(), (QStringList{QStringLiteral("Ekim"), QStringLiteral("Kasım")}));
        QCOMPARE(x->endValue(QStringLiteral("Ekim")), 3.5);
    }

    // Printed as vector graphics: the title and the axis numbers are text in the PDF, the
    // numbers with the Turkish decimal comma.
    void chartPrintsAsTextWithLocaleNumbers() {
        if (!testing::havePdftotext())
            QSKIP(testing::kNoPdftotext);
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        AnnualFlow flow;
        flow.months[0].days = {{1, 0.0F, 0.25, false, false}, {2, 0.0F, 1.5, false, false}};
        AnnualChartScreen screen(
            flow, waterYearChartTitle("01-001  ", "2004_01-001.ard", QStringLiteral("günlük akım")));
        QLocale::setDefault(QLocale::c());
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("chart.pdf"));
        QVERIFY(printToPdf(file, [&screen](QPrinter& printer) { return screen.print(printer); }));
        const std::string text = testing::pdfText(file.toStdString());
        QVERIFY2(text.find("01-001 — 2004 su yılı, günlük akım") != std::string::npos, text.c_str());
        QVERIFY2(text.find("Günlük debi (m3/s)") != std::string::npos, text.c_str());
        QVERIFY2(text.find("0,5") != std::string::npos || text.find("1,0") != std::string::npos,
                 text.c_str());
    }

    void readingsChartPlotsTheDayAgainstTime() {
        DayReadings readings;
        readings.caption = "15.11.2003 anlık ölcümler";
        readings.readings = {{0, 444.0}, {10, 445.0}, {1430, 587.0}};
        ReadingsChartScreen screen(readings);
        QCOMPARE(screen.windowTitle(), QStringLiteral("15.11.2003 anlık ölcümler"));
        using Points = QList<QPointF>;
        QCOMPARE(chartSegments(screen.chart()),
                 (QList<Points>{Points{{0.0, 444.0}, {10 / 60.0, 445.0}, {1430 / 60.0, 587.0}}}));
    }

    // 12.5 mm on 15 November of a leap water year: day 46, and the November total at the
    // middle of the month; a dry day is 0 mm, not a gap.
    void rainChartShowsDailyAndMonthlyTotals() {
        RainYearAnalysis analysis;
        analysis.yearDays = 366;
        analysis.dailyTenths[2][15] = 125;
        analysis.dailyTenths[12][30] = 3;
        analysis.months[2].totalTenths = 125;
        analysis.months[12].totalTenths = 3;
        RainYearChart chart(analysis, QStringLiteral("Yağış"));
        const RainChartData& data = chart.data();
        QCOMPARE(data.dayCount, 366);
        QCOMPARE(data.daily.segments.size(), 1);
        QCOMPARE(data.daily.segments[0].size(), 366);
        QCOMPARE(data.daily.segments[0][45], QPointF(46, 12.5));
        QCOMPARE(data.daily.segments[0][44], QPointF(45, 0.0));
        QCOMPARE(data.daily.segments[0][365], QPointF(366, 0.3));
        QCOMPARE(data.monthEnds[4], 152); // February has 29 days
        QCOMPARE(data.monthly.segments[0][1], QPointF(46.5, 12.5));
        QCOMPARE(chartSegments(chart.chart()).size(), 2);
    }
};

QTEST_MAIN(ChartWindowsTest)
#include "ChartWindowsTest.moc"
