#include "ui/flow/FlowRecordScreens.h"

#include "flow/FlowRecordSheet.h"
#include "platform/Dialogs.h"
#include "ui/charts/ChartData.h"
#include "ui/charts/ChartWindow.h"
#include "ui/charts/ZoomableChartView.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/PleaseWait.h"
#include "ui/common/SheetView.h"

#include <QChart>
#include <QChartView>
#include <QColor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace korvel {

namespace {

const QColor kAllYearsColor(0, 60, 200);
const QColor kYearColor(170, 170, 190);
const QColor kMeanColor(200, 40, 40);

constexpr double kOleUnixEpoch = 25569.0; // 1 January 1970 as an OLE date
constexpr double kMillisecondsPerDay = 86400000.0;

double chartTime(OleDate date) {
    return (date.value() - kOleUnixEpoch) * kMillisecondsPerDay;
}

QLabel* wrappedLabel(const char* name, QWidget* parent) {
    QLabel* label = namedLabel(QString::fromLatin1(name), parent);
    label->setWordWrap(true);
    return label;
}

QLineSeries* curveSeries(const std::vector<double>& curve, const QString& name, const QColor& color,
                         qreal width) {
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(color);
    pen.setWidthF(width);
    series->setPen(pen);
    for (std::size_t i = 0; i < curve.size(); ++i)
        series->append(static_cast<double>(i + 1), curve[i]);
    return series;
}

// The daily discharges along the days of each water year, broken where a day has none, and
// each year's mean as a level line over the year.
struct RecordLines {
    GappedLine daily;
    GappedLine means;
};

RecordLines recordLines(const FlowRecord& record) {
    RecordLines lines;
    lines.daily.name = QStringLiteral("Günlük debi");
    lines.means.name = QStringLiteral("Yıllık ortalama");
    for (const FlowRecordYear& year : record.years) {
        const OleDate first = firstDayOfWaterYear(year.waterYear);
        const OleDate end = firstDayOfWaterYear(year.waterYear + 1);
        auto day = year.days.begin();
        for (OleDate date = first; date < end; date = date.plusDays(1)) {
            if (day != year.days.end() && day->date == date)
                lines.daily.add(chartTime(date), (day++)->discharge);
            else
                lines.daily.add(chartTime(date), std::nullopt);
        }
        lines.means.add(chartTime(first), year.annualMean);
        lines.means.add(chartTime(end), year.annualMean);
        lines.means.add(chartTime(end), std::nullopt);
    }
    return lines;
}

} // namespace

FlowRecord readStationFlowRecord(QWidget* screen, const CurrentStation& station) {
    if (station.stationDir.empty())
        return FlowRecord{};
    PleaseWait wait(screen);
    wait.setText(QStringLiteral("Su yılları okunuyor"));
    wait.start();
    FlowRecord record = readFlowRecord(station.stationDir, static_cast<double>(station.record.drainageArea),
                                       [&wait](int done, int total) {
                                           wait.setRange(0, total);
                                           wait.setValue(done);
                                           wait.processEvents();
                                       });
    wait.close();
    if (record.years.empty())
        showMessage(screen, QStringLiteral("Bu istasyonun su yılı dosyası yok"));
    return record;
}

FlowDurationScreen::FlowDurationScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), chart_(new QChart) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Akım süreklilik eğrisi"));
    addExportMenu(this, &context_.locale);
    auto* view = new QChartView(chart_, this);
    view->setObjectName(QStringLiteral("durationChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(520, 360);

    auto* side = new QVBoxLayout;
    for (const char* name : {"Q5", "Q50", "Q95", "days", "units"})
        side->addWidget(wrappedLabel(name, this));
    side->addWidget(new GridView(QStringLiteral("years"), this), 1);
    auto* top = new QHBoxLayout;
    top->addWidget(view, 3);
    top->addLayout(side, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(new GridView(QStringLiteral("duration"), this), 2);
    resize(1150, 800);

    const CurrentStation& station = hub.current();
    duration_ = computeFlowDuration(readStationFlowRecord(this, station));
    sheet_ = flowDurationSheet(duration_, station.record.stationNumber, context_.locale);
    showSheet(this, sheet_);
    drawChart();
}

void FlowDurationScreen::drawChart() {
    chart_->setTitle(QStringLiteral("Akım süreklilik eğrisi"));
    if (duration_.curve.empty())
        return;
    double low = duration_.curve.back();
    double high = duration_.curve.front();
    for (const YearDuration& year : duration_.years)
        if (!year.curve.empty()) {
            low = std::min(low, year.curve.back());
            high = std::max(high, year.curve.front());
        }
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Aşılma yüzdesi (%)"));
    x->setRange(0.0, 100.0);
    x->setTickCount(11);
    x->setLabelFormat(QStringLiteral("%d"));
    QAbstractAxis* y = nullptr;
    if (low > 0.0) {
        auto* log = new QLogValueAxis;
        log->setBase(10.0);
        log->setLabelFormat(QStringLiteral("%g"));
        log->setMinorTickCount(8);
        log->setRange(low * 0.8, high * 1.25);
        y = log;
    } else {
        y = valueAxis(QString(), 0.0, high);
    }
    y->setTitleText(QStringLiteral("Debi (m³/s)"));
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    bool firstYear = true;
    for (const YearDuration& year : duration_.years) {
        if (year.curve.empty())
            continue;
        QLineSeries* series = curveSeries(year.curve, QStringLiteral("Tek tek yıllar"), kYearColor, 1.0);
        chart_->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        if (!firstYear)
            for (QLegendMarker* marker : chart_->legend()->markers(series))
                marker->setVisible(false);
        firstYear = false;
    }
    QLineSeries* all = curveSeries(duration_.curve, QStringLiteral("Tüm yıllar"), kAllYearsColor, 2.5);
    chart_->addSeries(all);
    all->attachAxis(x);
    all->attachAxis(y);
}

FlowRecordScreen::FlowRecordScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), chart_(new QChart), view_(new ZoomableChartView(chart_, this)) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Uzun dönem akım kaydı"));
    addExportMenu(this, &context_.locale);
    view_->setObjectName(QStringLiteral("recordChart"));
    view_->setMinimumSize(600, 340);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 3);
    layout->addWidget(namedLabel(QStringLiteral("hint"),
                                 QStringLiteral("Fare tekerleği yakınlaştırır, sürüklemek kaydırır, çift tık "
                                                "bütün kaydı gösterir."),
                                 this));
    for (const char* name : {"period", "leftOut", "units"})
        layout->addWidget(wrappedLabel(name, this));
    layout->addWidget(new GridView(QStringLiteral("annual"), this), 2);
    resize(1150, 800);

    const CurrentStation& station = hub.current();
    record_ = readStationFlowRecord(this, station);
    sheet_ = flowRecordSheet(record_, station.record.stationNumber, context_.locale);
    showSheet(this, sheet_);
    drawChart();
}

void FlowRecordScreen::drawChart() {
    chart_->setTitle(QStringLiteral("Günlük debiler ve yıllık ortalamalar"));
    if (record_.years.empty())
        return;
    const RecordLines lines = recordLines(record_);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("MM.yyyy"));
    x->setTitleText(QStringLiteral("Tarih"));
    x->setTickCount(11);
    x->setRange(
        QDateTime::fromMSecsSinceEpoch(
            static_cast<qint64>(chartTime(firstDayOfWaterYear(record_.years.front().waterYear))), Qt::UTC),
        QDateTime::fromMSecsSinceEpoch(
            static_cast<qint64>(chartTime(firstDayOfWaterYear(record_.years.back().waterYear + 1))),
            Qt::UTC));
    QValueAxis* y =
        valueAxis(QStringLiteral("Debi (m³/s)"), 0.0, std::max(lines.daily.largest(), lines.means.largest()));
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    addGappedLine(chart_, lines.daily, x, y, kAllYearsColor);
    addGappedLine(chart_, lines.means, x, y, kMeanColor);
}

} // namespace korvel
