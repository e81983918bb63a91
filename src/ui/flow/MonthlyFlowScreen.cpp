#include "ui/flow/MonthlyFlowScreen.h"

#include "core/FileIO.h"
#include "core/Paths.h"
#include "flow/DayRating.h"
#include "flow/DayReadings.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "store/HqTable.h"
#include "store/StationLists.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

MonthlyFlowScreen* MonthlyFlowScreen::open(const AppContext& context, StationHub& hub, QWidget* parent) {
    if (!requireFlowFile(hub.current(), parent))
        return nullptr;
    return new MonthlyFlowScreen(context, hub, parent);
}

MonthlyFlowScreen::MonthlyFlowScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Seviye gözlem cetveli (limnigraf)"));

    months_ = new QComboBox(this);
    months_->setObjectName("Combo1");
    months_->setToolTip(QStringLiteral("Tıklayarak ay değişikliğini yapabilirsiniz."));
    for (const std::string_view item : kMonthList)
        months_->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    copyButton_ = new QPushButton(QStringLiteral("Command1"), this);
    copyButton_->setObjectName("Command1");

    grid_ = new GridView(qText(kMonthGridName), this);
    grid_->setToolTip(QStringLiteral("Degerler limnigraftan elde edilmisse günlere citf tıklayarak "
                                     "ayrıntısını görebilirsiniz..."));
    grid_->setKeyFilter(gridKeyFilter(&monthlyFlowKey));
    useCompactFont(grid_);

    readingsCaption_ = namedLabel("readingsCaption", this);
    readings_ = new QListWidget(this);
    readings_->setObjectName("List1");
    readings_->setToolTip(QStringLiteral("Çift tıklayarak grafiğini görebilirsiniz.."));
    readings_->setFixedWidth(170);
    readingsCaption_->hide();
    readings_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(months_);
    top->addWidget(copyButton_);
    top->addWidget(namedLabel("month", this));
    top->addWidget(namedLabel("waterYear", this));
    top->addStretch();

    auto* readingsColumn = new QVBoxLayout;
    readingsColumn->addWidget(readingsCaption_);
    readingsColumn->addWidget(readings_, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    middle->addLayout(readingsColumn);

    auto* header = new QGridLayout;
    header->addWidget(namedLabel("institute", this), 0, 0, 1, 2);
    const char* left[] = {"stationNumber", "region", "river", "stationName"};
    const char* right[] = {"area", "elevation", "coordinates"};
    for (int i = 0; i < 4; ++i)
        header->addWidget(namedLabel(left[i], this), i + 1, 0);
    for (int i = 0; i < 3; ++i)
        header->addWidget(namedLabel(right[i], this), i + 1, 1);
    const char* statistics[] = {"total", "mean", "yield", "depth", "volume"};
    for (int i = 0; i < 5; ++i)
        header->addWidget(namedLabel(statistics[i], this), i, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(header);

    connect(months_, &QComboBox::activated, this, &MonthlyFlowScreen::selectMonth);
    connect(copyButton_, &QPushButton::clicked, this, &MonthlyFlowScreen::copyPressedCell);
    connect(grid_, &GridView::cellDoubleClicked, this, [this](int row, int) {
        const int column = grid_->currentColumn();
        showReadingsOfRow(row);
        grid_->setCurrentCell(row, column);
    });
    connect(readings_, &QListWidget::itemDoubleClicked, this, [this] { emit readingsChartRequested(); });

    months_->setCurrentIndex(hub_.current().monthIndex % 12);
    fill();
    fitGridToTable(grid_, 24);
}

void MonthlyFlowScreen::selectMonth(int monthIndex) {
    if (months_->currentIndex() != monthIndex)
        months_->setCurrentIndex(monthIndex);
    hub_.setMonthIndex(monthIndex);
    fill();
}

void MonthlyFlowScreen::fill() {
    const CurrentStation& station = hub_.current();
    flowFile_ = station.selectedFlowPath().empty() ? std::filesystem::path()
                                                   : resolveCaseInsensitive(station.selectedFlowPath());
    readStamp_.remember(flowFile_);
    const auto records = flowFile_.empty() ? std::vector<DayRecord>{} : readWaterYearFile(flowFile_);
    const HqTableSet tables = loadHqTableSet(station.stationDir);
    const int monthIndex = std::max(0, months_->currentIndex());
    flow_ = computeMonthFlow(records, tables, monthNumberOfItem(monthListItem(monthIndex)),
                             static_cast<double>(station.record.drainageArea));
    sheet_ = monthTableSheet(flow_, station.record, station.selectedFlowFile, monthIndex, context_.locale);
    showSheet(this, sheet_);
}

MonthTableSave MonthlyFlowScreen::save() {
    if (flowFile_.empty())
        return {};
    switch (readStamp_.confirmSave(this)) {
    case SaveChoice::reload:
        fill();
        return {};
    case SaveChoice::cancel:
        return {};
    case SaveChoice::save:
        break;
    }
    MonthTableSave saved;
    try {
        saved = saveMonthTable(flowFile_, grid_->table(), context_.locale);
        readStamp_.remember(flowFile_);
    } catch (const FileError& error) {
        showMessage(this, QStringLiteral("Aylık akım tablosu kaydedilemedi: ") + qText(error.what()));
        return saved;
    }
    if (!saved.kept.empty())
        showMessage(this, qText(keptCellsMessage(saved.kept)));
    return saved;
}

bool MonthlyFlowScreen::print() {
    return print(applicationPrinter());
}

Sheet MonthlyFlowScreen::reportSheet() const {
    return readSheet(this, sheet_);
}

bool MonthlyFlowScreen::print(QPrinter& printer) {
    return printSheets({reportSheet()}, printer);
}

void MonthlyFlowScreen::showReadingsOfRow(int row) {
    readings_->hide();
    readingsCaption_->hide();
    readings_->clear();
    dayReadings_.reset();
    const auto date = context_.locale.parseDate(grid_->cell(row, 0));
    if (!date || flowFile_.empty())
        return;
    const auto name = dayReadingsFileName(readWaterYearFile(flowFile_), *date);
    if (!name)
        return;
    const auto bytes = readFileBytes(resolveCaseInsensitive(hub_.current().stationDir / *name));
    if (!bytes)
        return;
    const auto shown = showDayReadings(*bytes, *date, context_.locale);
    if (!shown)
        return;
    for (const std::string& entry : shown->entries)
        readings_->addItem(qText(entry));
    readingsCaption_->setText(qText(shown->caption));
    readingsCaption_->show();
    readings_->show();
    dayReadings_ = shown;
}

void MonthlyFlowScreen::copyPressedCell() {
    Table table = grid_->table();
    const GridCell pressed = grid_->pressedCell();
    const GridCell released = grid_->releasedCell();
    if (copyCellToRange(table, {pressed.row, pressed.column}, {released.row, released.column}))
        grid_->setTable(table);
}

} // namespace korvel
