#include "ui/rain/IdfScreen.h"

#include "core/FileIO.h"
#include "platform/Dialogs.h"
#include "rain/IdfSheet.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/PleaseWait.h"
#include "ui/common/QtText.h"
#include "ui/common/SheetView.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace korvel {

namespace {

// A page of the tab strip holding the grids of these names side by side (or above a chart).
QWidget* gridPage(QWidget* owner, const std::vector<const char*>& grids, QWidget* beside = nullptr) {
    auto* page = new QWidget(owner);
    auto* layout = new QHBoxLayout(page);
    auto* column = new QVBoxLayout;
    for (const char* name : grids)
        column->addWidget(new GridView(QString::fromLatin1(name), page), 1);
    layout->addLayout(column, beside != nullptr ? 2 : 1);
    if (beside != nullptr) {
        beside->setParent(page);
        layout->addWidget(beside, 3);
    }
    return page;
}

QLogValueAxis* logAxis(const QString& title, double low, double high) {
    auto* axis = new QLogValueAxis;
    axis->setTitleText(title);
    axis->setBase(10.0);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setMinorTickCount(8);
    axis->setRange(low, high);
    return axis;
}

} // namespace

IdfScreen::IdfScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), station_(hub.current()), distribution_(new QComboBox(this)),
      loadMaxima_(new QPushButton(QStringLiteral("Maksimumlar tablosunu yükle..."), this)),
      tabs_(new QTabWidget(this)), chart_(new QChart) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Yağış şiddet-süre-tekerrür analizi"));
    addExportMenu(this, &context_.locale);
    distribution_->setObjectName(QStringLiteral("distributionChoice"));
    distribution_->addItem(QStringLiteral("Gumbel (EV1)"));
    distribution_->addItem(QStringLiteral("GEV"));
    loadMaxima_->setObjectName(QStringLiteral("loadMaxima"));
    tabs_->setObjectName(QStringLiteral("tabs"));

    auto* view = new QChartView(chart_);
    view->setObjectName(QStringLiteral("idfChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 320);
    tabs_->addTab(gridPage(tabs_, {"intensity", "intensityInterval"}, view),
                  QStringLiteral("Şiddetler ve eğriler"));
    tabs_->addTab(gridPage(tabs_, {"depth", "depthInterval"}), QStringLiteral("Yükseklikler"));
    tabs_->addTab(gridPage(tabs_, {"maxima", "maximumStarts"}), QStringLiteral("Yıllık maksimumlar"));
    tabs_->addTab(gridPage(tabs_, {"parameters"}), QStringLiteral("Parametreler"));

    auto* top = new QHBoxLayout;
    top->addWidget(namedLabel(QStringLiteral("distributionLabel"), QStringLiteral("Dağılım:"), this));
    top->addWidget(distribution_);
    top->addStretch(1);
    top->addWidget(loadMaxima_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    for (const char* name : {"distribution", "years", "leftOut", "interval"}) {
        QLabel* label = namedLabel(QString::fromLatin1(name), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    connect(distribution_, &QComboBox::currentIndexChanged, this, [this] { showAnalysis(); });
    connect(loadMaxima_, &QPushButton::clicked, this, &IdfScreen::loadMaxima);
    resize(1150, 760);
    analyseStation();
}

ExtremeDistribution IdfScreen::distribution() const {
    return distribution_->currentIndex() == 1 ? ExtremeDistribution::Gev : ExtremeDistribution::Gumbel;
}

void IdfScreen::setDistribution(ExtremeDistribution distribution) {
    distribution_->setCurrentIndex(distribution == ExtremeDistribution::Gev ? 1 : 0);
}

bool IdfScreen::analyseStation() {
    if (station_.stationDir.empty())
        return false;
    PleaseWait wait(this);
    wait.setText(QStringLiteral("Yağış yılları okunuyor"));
    wait.start();
    const StationRainMaxima maxima = collectRainMaxima(station_.stationDir, [&wait](int done, int total) {
        wait.setRange(0, total);
        wait.setValue(done);
        wait.processEvents();
    });
    wait.close();
    return analyse(maxima);
}

bool IdfScreen::analyseMaximaFile(const QString& file) {
    const auto bytes = readFileBytes(file.toStdString());
    if (!bytes) {
        showMessage(this, QStringLiteral("Dosya okunamadı: %1").arg(file));
        return false;
    }
    const MaximaCsv csv = parseMaximaCsv(std::string(bytes->begin(), bytes->end()));
    if (!csv.maxima) {
        showMessage(this, QStringLiteral("Maksimumlar tablosu okunamadı: %1").arg(qText(csv.error)));
        return false;
    }
    return analyse(StationRainMaxima{*csv.maxima, {}});
}

void IdfScreen::loadMaxima() {
    if (const auto file =
            askFileName(this, QStringLiteral("Maksimumlar tablosu"), QStringLiteral("CSV (*.csv *.txt)")))
        analyseMaximaFile(*file);
}

bool IdfScreen::analyse(const StationRainMaxima& maxima) {
    if (maxima.maxima.years.size() < kIdfMinimumYears) {
        showMessage(this, kTooFewYearsMessage.arg(maxima.maxima.years.size()));
        return false;
    }
    PleaseWait wait(this);
    wait.setText(QStringLiteral("Dağılımlar uyduruluyor"));
    wait.start();
    analysis_ = computeIdf(maxima.maxima, kIdfResamples, [&wait](int done, int total) {
        wait.setRange(0, total);
        wait.setValue(done);
        wait.processEvents();
    });
    wait.close();
    leftOut_ = maxima.leftOut;
    showAnalysis();
    return true;
}

void IdfScreen::showAnalysis() {
    if (!analysis_)
        return;
    sheet_ = idfSheet(*analysis_, distribution(), station_.record.stationNumber, leftOut_, context_.locale);
    showSheet(this, sheet_);
    drawChart();
}

void IdfScreen::drawChart() {
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }
    const IdfAnalysis& idf = *analysis_;
    const IdfQuantiles& q = idf.quantiles(distribution());
    chart_->setTitle(
        QStringLiteral("Yağış şiddeti - süre - tekerrür (%1)").arg(qText(distributionName(distribution()))));
    double low = 0.0;
    double high = 0.0;
    std::vector<QLineSeries*> series;
    for (std::size_t t = 0; t < idf.returnPeriods.size(); ++t) {
        auto* line = new QLineSeries;
        line->setName(QStringLiteral("%1 yıl").arg(idf.returnPeriods[t]));
        for (std::size_t d = 0; d < idf.maxima.durations.size(); ++d) {
            if (!q.depth[d][t] || !(*q.depth[d][t] > 0.0))
                continue;
            const double intensity = intensityOf(*q.depth[d][t], idf.maxima.durations[d]);
            line->append(idf.maxima.durations[d], intensity);
            low = low == 0.0 ? intensity : std::min(low, intensity);
            high = std::max(high, intensity);
        }
        series.push_back(line);
    }
    const int shortest = idf.maxima.durations.empty() ? 1 : idf.maxima.durations.front();
    const int longest = idf.maxima.durations.empty() ? 1440 : idf.maxima.durations.back();
    auto* x = logAxis(QStringLiteral("Süre (dakika)"), shortest * 0.8, longest * 1.25);
    auto* y = logAxis(QStringLiteral("Şiddet (mm/saat)"), low > 0.0 ? low * 0.8 : 0.1,
                      high > 0.0 ? high * 1.25 : 1.0);
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* line : series) {
        line->setPointsVisible(true);
        chart_->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
}

} // namespace korvel
