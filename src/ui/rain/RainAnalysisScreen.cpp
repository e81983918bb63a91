#include "ui/rain/RainAnalysisScreen.h"

#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "rain/RainYearSheet.h"
#include "store/StationRecord.h"
#include "ui/common/GridView.h"
#include "ui/common/PleaseWait.h"
#include "ui/common/ScreenWindow.h"
#include "ui/common/SheetView.h"
#include "ui/common/Twips.h"
#include "ui/rain/RainDayTableScreen.h"
#include "ui/rain/RainYearChart.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QVBoxLayout>

namespace korvel {

namespace {

// A grid just large enough to show a table of these widths and rows whole.
void fitGrid(GridView* grid, int widthTwips, int rows) {
    const int frame = 2 * grid->frameWidth() + 2;
    grid->setFixedSize(twipsToPixels(widthTwips) + frame,
                       twipsToPixels(rows * Table::kDefaultRowHeight) + frame);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

RainAnalysisScreen::RainAnalysisScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub), dailyGrid_(new GridView(kDailyGridName, this)),
      summaryGrid_(new GridView(kSummaryGridName, this)) {
    setObjectName(QStringLiteral("Pludegerlendirfrm"));
    setWindowTitle(QString::fromUtf8(kRainAnalysisCaption));

    fitGrid(dailyGrid_, 400 + 12 * 750, 32);
    fitGrid(summaryGrid_, 900 + 12 * 750, 3);
    dailyGrid_->setCopyMenu(QStringLiteral("kesmen11"), QStringLiteral("kesme11"));
    summaryGrid_->setCopyMenu(QStringLiteral("kesmen12"), QStringLiteral("kesme12"));
    connect(dailyGrid_, &GridView::cellDoubleClicked, this,
            [this](int row, int column) { openDay(row, column); });

    auto* left = new QVBoxLayout;
    left->addWidget(dailyGrid_);
    left->addWidget(summaryGrid_);
    for (const char* name : {kRainyDaysLabel, kAnnualTotalLabel, kLargestDayLabel, kUnitsLabel})
        left->addWidget(label(this, QString::fromLatin1(name)));
    left->addStretch(1);

    auto* boxes = new QGridLayout;
    for (int i = 0; i < kRainDurationCount; ++i) {
        boxes->addWidget(label(this, QStringLiteral("Label%1").arg(i + 1),
                               QString::fromUtf8(kDurationCaptions[static_cast<std::size_t>(i)])),
                         i, 0);
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromStdString(durationBoxName(i)));
        box->setReadOnly(true);
        box->setMinimumWidth(190);
        boxes->addWidget(box, i, 1);
    }
    boxes->setRowStretch(kRainDurationCount, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(boxes);

    const CurrentStation& station = hub_.current();
    const int entry = station.rainSelectionCurrent;
    if (entry >= 0 && entry < static_cast<int>(station.rainSelection.size()) &&
        !station.rainSelection[static_cast<std::size_t>(entry)].empty())
        analyse(station.rainSelection[static_cast<std::size_t>(entry)]);
}

void RainAnalysisScreen::analyse(const std::filesystem::path& file) {
    file_ = file;
    PleaseWait wait(this);
    wait.setRange(0, static_cast<int>(kRainYearRecords));
    wait.start();
    std::optional<RainYearFileAnalysis> result =
        analyseRainYearFile(file, [&wait](int record) { wait.setValue(record); });
    wait.close();
    if (!result) {
        analysis_.reset();
        sheet_ = Sheet();
        showMessage(this,
                    QStringLiteral("Dosya okunamadı: ") + QString::fromStdString(file.filename().string()));
        return;
    }
    analysis_ = result->analysis;
    sheet_ = rainYearAnalysisSheet(*analysis_, stationNumberOf(file), context_.locale);
    showSheet(this, sheet_);
    fitGridToTable(dailyGrid_);
    fitGridToTable(summaryGrid_);
    if (!result->repairRefused.empty())
        showMessage(this, QString::fromStdString(result->repairRefused));
}

Sheet RainAnalysisScreen::shownSheet() const {
    return readSheet(this, sheet_);
}

bool RainAnalysisScreen::printTable() {
    return printSheets({shownSheet()}, applicationPrinter());
}

// The chart draws the file as it is now, days saved since the table was built included.
QDialog* RainAnalysisScreen::makeRainChart() {
    std::optional<RainYearFileAnalysis> current;
    if (!file_.empty())
        current = analyseRainYearFile(file_);
    const RainYearAnalysis& analysis = current ? current->analysis : analysis_.value_or(RainYearAnalysis{});
    return new RainYearChart(analysis, windowTitle(), this);
}

void RainAnalysisScreen::showRainChart() {
    QDialog* chart = makeRainChart();
    chart->setAttribute(Qt::WA_DeleteOnClose);
    chart->open();
}

bool RainAnalysisScreen::addNewWaterYear() {
    const CurrentStation& station = hub_.current();
    if (station.stationDir.empty()) {
        showMessage(this, QStringLiteral("Lütfen istasyon secimin yapınız"));
        return false;
    }
    const std::optional<QString> answer = askText(this, QStringLiteral("Yeni su yılını gririniz"));
    if (!answer)
        return false;
    const CreateRainYearResult created =
        createRainYear(station.stationDir, answer->toStdString(), station.record.stationNumber);
    if (!created.ok()) {
        showMessage(this, QString::fromStdString(created.error->message));
        return false;
    }
    hub_.refreshFileLists();
    return true;
}

void RainAnalysisScreen::closeTable() {
    closeScreenWindow(this);
}

void RainAnalysisScreen::kesme11() {
    dailyGrid_->copyToClipboard();
}

void RainAnalysisScreen::kesme12() {
    summaryGrid_->copyToClipboard();
}

RainDayTableScreen* RainAnalysisScreen::openDay(int row, int column) {
    if (file_.empty() || !analysis_)
        return nullptr;
    const std::optional<RainDayAt> found = findRainDayOfCell(file_, row, column);
    if (!found)
        return nullptr;
    for (const QPointer<RainDayTableScreen>& open : dayTables_)
        if (open && open->dayRecordNumber() == found->recordNumber) {
            open->show();
            open->raise();
            open->activateWindow();
            return open;
        }
    std::erase_if(dayTables_, [](const QPointer<RainDayTableScreen>& table) { return table.isNull(); });

    auto* table = new RainDayTableScreen(context_, file_, found->recordNumber, found->record);
    table->setAttribute(Qt::WA_DeleteOnClose);
    // The saved total goes into the day's own cell, also when the day was opened from column 0.
    const int dayColumn = monthColumn(found->record.dayDate.month());
    connect(table, &RainDayTableScreen::daySaved, this,
            [this, row, dayColumn](int dayTenths) { daySaved(row, dayColumn, dayTenths); });
    dayTables_.push_back(table);
    if (isSignalConnected(QMetaMethod::fromSignal(&RainAnalysisScreen::dayTableOpened)))
        emit dayTableOpened(table);
    else
        table->show();
    return table;
}

void RainAnalysisScreen::daySaved(int row, int column, int dayTenths) {
    const std::string text = dayTenths == 0 ? std::string() : context_.locale.numberText(dayTenths / 10.0);
    dailyGrid_->setCell(row, column, text);
}

std::string RainAnalysisScreen::stationNumberOf(const std::filesystem::path& file) const {
    const std::filesystem::path dir = file.parent_path();
    const CurrentStation& station = hub_.current();
    if (!station.stationDir.empty() && dir == station.stationDir)
        return station.record.stationNumber;
    return loadStationRecord(dir, "").stationNumber;
}

} // namespace korvel
