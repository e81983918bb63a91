#include "ui/flow/RatingCurveScreen.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "flow/RatingSheet.h"
#include "flow/RatingTable.h"
#include "platform/Dialogs.h"
#include "store/MeasurementCard.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"
#include "ui/flow/RatingCharts.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace korvel {

namespace {

QLineEdit* namedBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QChart* addChartTab(QTabWidget* tabs, const QString& name, const QString& title) {
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart, tabs);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    tabs->addTab(view, title);
    return chart;
}

OleDate today() {
    const QDate d = QDate::currentDate();
    return OleDate::fromDate(d.year(), d.month(), d.day());
}

// The last day of the water year a date falls in.
OleDate waterYearEnd(OleDate date) {
    const CivilDate d = date.date();
    return OleDate::fromDate(d.month >= 10 ? d.year + 1 : d.year, 9, 30);
}

} // namespace

RatingCurveScreen::RatingCurveScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(std::make_unique<AppContext>(context)), hub_(hub) {
    setObjectName(kFormName);
    setWindowTitle(kCaption);
    addExportMenu(this, &context_->locale);

    fromDate_ = namedBox(QStringLiteral("fromDate"), this);
    toDate_ = namedBox(QStringLiteral("toDate"), this);
    segments_ = new QComboBox(this);
    segments_->setObjectName(QStringLiteral("segments"));
    segments_->addItems(
        {QStringLiteral("Otomatik"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    breaks_ = namedBox(QStringLiteral("breaks"), this);
    extrapolateTo_ = namedBox(QStringLiteral("extrapolateTo"), this);
    logAxes_ = new QCheckBox(QStringLiteral("Logaritmik eksenler"), this);
    logAxes_->setObjectName(QStringLiteral("logAxes"));
    auto* fitButton = new QPushButton(QStringLiteral("Hesapla"), this);
    fitButton->setObjectName(QStringLiteral("fitButton"));
    auto* saveButton = new QPushButton(QStringLiteral("HQ tablosu olarak kaydet"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    message_ = namedLabel(QStringLiteral("message"), this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Başlangıç tarihi"), fromDate_);
    form->addRow(QStringLiteral("Bitiş tarihi"), toDate_);
    form->addRow(QStringLiteral("Parça sayısı"), segments_);
    form->addRow(QStringLiteral("Kırılma noktaları (mm; ile ayrılmış)"), breaks_);
    form->addRow(QStringLiteral("Uzatma seviyesi (mm)"), extrapolateTo_);
    form->addRow(logAxes_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fitButton);
    buttons->addWidget(saveButton);

    gaugings_ = new GridView(QStringLiteral("gaugings"), this);
    segmentGrid_ = new GridView(QStringLiteral("segments"), this);
    curveGrid_ = new GridView(QStringLiteral("curve"), this);
    for (GridView* grid : {gaugings_, segmentGrid_, curveGrid_}) {
        useCompactFont(grid);
        makeReadOnly(grid);
    }
    segmentGrid_->setMaximumHeight(110);

    auto* left = new QVBoxLayout;
    for (const char* name : {"institute", "stationNumber", "stationName"})
        left->addWidget(namedLabel(QString::fromUtf8(name), this));
    left->addLayout(form);
    left->addLayout(buttons);
    for (const char* name : {"segmentChoice", "standardError", "gaugingCount", "range"}) {
        QLabel* label = namedLabel(QString::fromUtf8(name), this);
        label->setWordWrap(true);
        left->addWidget(label);
    }
    left->addWidget(message_);
    left->addWidget(segmentGrid_);
    left->addWidget(gaugings_, 1);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("chartTabs"));
    curveChart_ = addChartTab(tabs, QStringLiteral("curveChart"), QStringLiteral("Eğri"));
    deviationLevelChart_ =
        addChartTab(tabs, QStringLiteral("deviationLevelChart"), QStringLiteral("Sapma - seviye"));
    deviationDateChart_ =
        addChartTab(tabs, QStringLiteral("deviationDateChart"), QStringLiteral("Sapma - tarih"));
    tabs->addTab(curveGrid_, QStringLiteral("Eğri tablosu"));

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addWidget(tabs, 3);

    connect(fitButton, &QPushButton::clicked, this, [this] { refit(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveAsHqTable(); });
    connect(logAxes_, &QCheckBox::toggled, this, [this] {
        if (fit_)
            drawRatingChart(curveChart_, *fit_, logAxes_->isChecked());
    });
    connect(gaugings_, &GridView::cellPressed, this, [this](int row, int column, Qt::MouseButton button) {
        if (button == Qt::LeftButton && column == kLeftOutColumn)
            toggleLeftOut(row);
    });

    const CurrentStation& station = hub_.current();
    if (!station.stationDir.empty())
        cardPath_ = resolveCaseInsensitive(station.stationDir /
                                           measurementCardFileName(station.record.stationNumber));
    resize(1250, 760);
    refit(false);
}

RatingCurveScreen::~RatingCurveScreen() = default;

std::optional<RatingFitOptions> RatingCurveScreen::optionsOfBoxes(QString& problem) const {
    const Locale& locale = context_->locale;
    RatingFitOptions options;
    options.segments = segments_->currentIndex(); // 0 = "Otomatik"
    const QString breaks = breaks_->text().trimmed();
    for (const QString& part :
         breaks.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts)) {
        const auto level = locale.parseNumber(part.toStdString());
        if (!level) {
            problem = QStringLiteral("Kırılma noktası okunamadı: %1").arg(part);
            return std::nullopt;
        }
        options.breaks.push_back(*level);
    }
    const QString extrapolate = extrapolateTo_->text().trimmed();
    if (!extrapolate.isEmpty()) {
        const auto level = locale.parseNumber(extrapolate.toStdString());
        if (!level) {
            problem = QStringLiteral("Uzatma seviyesi okunamadı: %1").arg(extrapolate);
            return std::nullopt;
        }
        options.extrapolateTo = *level;
    }
    return options;
}

bool RatingCurveScreen::refit(bool tellUser) {
    const Locale& locale = context_->locale;
    std::optional<OleDate> bounds[2];
    QLineEdit* boxes[2] = {fromDate_, toDate_};
    for (int i = 0; i < 2; ++i) {
        const QString text = boxes[i]->text().trimmed();
        if (text.isEmpty())
            continue;
        bounds[i] = locale.parseDate(text.toStdString());
        if (!bounds[i] || bounds[i]->isEmpty()) {
            showProblem(QStringLiteral("Tarih okunamadı: %1").arg(text), tellUser);
            return false;
        }
    }
    QString problem;
    const auto options = optionsOfBoxes(problem);
    if (!options) {
        showProblem(problem, tellUser);
        return false;
    }
    shown_ = gaugingsOfCardFile(cardPath_, bounds[0], bounds[1], leftOut_);
    try {
        fit_ = fitRating(shown_, *options);
    } catch (const RatingFitError& error) {
        fit_.reset();
        showProblem(QStringLiteral("Eğri hesaplanamadı: ") + qText(error.what()), tellUser);
        return false;
    }
    message_->clear();
    showFit();
    return true;
}

void RatingCurveScreen::showProblem(const QString& text, bool tellUser) {
    // The gaugings stay listed, so that one can be left out or taken back.
    RatingFit listed;
    for (const Gauging& g : shown_)
        listed.gaugings.push_back(GaugingFit{g, 0.0, 0.0, false});
    Sheet sheet = ratingSheet(listed, hub_.current().record, context_->locale);
    for (const char* name : {"segmentChoice", "standardError", "gaugingCount", "range"})
        sheet.setText(name, std::string());
    showSheet(this, sheet);
    for (QChart* chart : {curveChart_, deviationLevelChart_, deviationDateChart_})
        chart->removeAllSeries();
    message_->setText(text);
    if (tellUser)
        showMessage(this, text);
}

void RatingCurveScreen::showFit() {
    showSheet(this, ratingSheet(*fit_, hub_.current().record, context_->locale));
    setWindowTitle(kCaption + QStringLiteral("  ") + qText(trimmed(hub_.current().record.stationNumber)));
    drawRatingChart(curveChart_, *fit_, logAxes_->isChecked());
    drawDeviationsByLevel(deviationLevelChart_, *fit_);
    drawDeviationsByDate(deviationDateChart_, *fit_);
}

void RatingCurveScreen::toggleLeftOut(int gridRow) {
    if (gridRow < 1 || gridRow > static_cast<int>(shown_.size()))
        return;
    const std::size_t row = shown_[static_cast<std::size_t>(gridRow - 1)].row;
    if (!leftOut_.erase(row))
        leftOut_.insert(row);
    refit();
}

bool RatingCurveScreen::saveAsHqTable() {
    if (!fit_) {
        showMessage(this, QStringLiteral("Önce eğriyi hesaplayınız."));
        return false;
    }
    const CurrentStation& station = hub_.current();
    const Locale& locale = context_->locale;
    const auto number = askText(this, QStringLiteral("Lütfen oluşturulacak HQ tablo nosunu giriniz"),
                                qText(proposeNextTableNumber(listFiles(station.stationDir, "*.HQ"))));
    if (!number || !isNumericText(number->toStdString()))
        return false;
    const auto from = askText(this, QStringLiteral("Tablonun geçerli olduğu ilk gün (gg.aa.yyyy)"),
                              qText(locale.shortDate(fit_->firstDate)));
    if (!from)
        return false;
    const auto validFrom = locale.parseDate(from->toStdString());
    if (!validFrom || validFrom->isEmpty()) {
        showMessage(this, QStringLiteral("Tarih okunamadı: %1").arg(*from));
        return false;
    }
    const auto to = askText(this, QStringLiteral("Tablonun geçerli olduğu son gün (gg.aa.yyyy)"),
                            qText(locale.shortDate(waterYearEnd(*validFrom))));
    if (!to)
        return false;
    const auto validTo = locale.parseDate(to->toStdString());
    if (!validTo || validTo->isEmpty()) {
        showMessage(this, QStringLiteral("Tarih okunamadı: %1").arg(*to));
        return false;
    }
    const double value = numericValue(number->toStdString());
    SavedRatingTable saved;
    try {
        if (value < 0.0 || value > 99.0 || value != std::floor(value))
            throw std::invalid_argument("range");
        const HqTable table = ratingHqTable(*fit_, *validFrom, *validTo, today(), locale);
        saved =
            saveRatingTable(station.stationDir, static_cast<int>(value), station.record.stationNumber, table);
    } catch (const HqTableNumberInUse&) {
        showMessage(this, QStringLiteral("%1 nolu HQ tablosu zaten var; o tablo değiştirilmedi.")
                              .arg(qText(hqNumberText(static_cast<int>(value)))));
        return false;
    } catch (const std::invalid_argument&) {
        showMessage(this, QStringLiteral("HQ tablo no 0 ile 99 arasında olmalıdır."));
        return false;
    } catch (const std::exception& error) {
        showMessage(this, QStringLiteral("HQ tablosu kaydedilemedi: ") + qText(error.what()));
        return false;
    }
    const std::string name = saved.file.filename().string();
    const auto running = periodsRunningOver(station.stationDir, name, *validFrom);
    for (const RunningPeriod& p : running) {
        const QString question =
            QStringLiteral(
                "%1 tablosunun %2 - %3 dönemi listede önce gelir ve %4 tarihini kapsar. Bu dönem %5 "
                "tarihinde bitirilsin mi?")
                .arg(qText(p.key), qText(locale.shortDate(p.start)), qText(locale.shortDate(p.end)),
                     qText(locale.shortDate(*validFrom)), qText(locale.shortDate(validFrom->plusDays(-1))));
        if (askYesNo(this, question))
            endPeriodsBefore(station.stationDir, {p}, *validFrom);
    }
    QString report = QStringLiteral("%1 kaydedildi.").arg(qText(name));
    for (const std::string& key : earlierTablesOverlapping(station.stationDir, name, *validFrom, *validTo))
        report += QStringLiteral(" %1 tablosu listede önce geldiğinden bu dönemin bir kısmında o kullanılır.")
                      .arg(qText(key));
    hub_.refreshFileLists();
    showMessage(this, report);
    emit tableSaved(qText(name));
    return true;
}

} // namespace korvel
