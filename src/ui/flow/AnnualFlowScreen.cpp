#include "ui/flow/AnnualFlowScreen.h"

#include "core/Paths.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvel {

AnnualFlowScreen* AnnualFlowScreen::open(const AppContext& context, StationHub& hub, QWidget* parent) {
    if (!requireFlowFile(hub.current(), parent))
        return nullptr;
    return new AnnualFlowScreen(context, hub, parent);
}

AnnualFlowScreen::AnnualFlowScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Yıllık akım  tablosu"));

    months_ = new GridView("MSFlexGrid1", this);
    months_->setToolTip(QStringLiteral("Aylara cift tıklayarak ayrıntısını görebilirsiniz."));
    daily_ = new GridView("MSFlexGrid2", this);
    summary_ = new GridView("MSFlexGrid3", this);
    extremes_ = new GridView("MSFlexGrid4", this);
    daily_->setCopyMenu("kesmen8", "kes8");
    summary_->setCopyMenu("kesmen9", "kes9");
    extremes_->setCopyMenu("kesmen10", "kes10");
    for (GridView* grid : {months_, daily_, summary_, extremes_}) {
        useCompactFont(grid);
        makeReadOnly(grid);
    }
    keys_ = new QListWidget(this);
    keys_->setObjectName("List1");

    auto* header = new QGridLayout;
    header->addWidget(namedLabel("institute", this), 0, 0);
    header->addWidget(namedLabel("waterYear", this), 0, 1);
    const char* left[] = {"stationNumber", "region", "river", "stationName"};
    const char* middle[] = {"area", "elevation", "coordinates"};
    const char* right[] = {"annualMean", "annualYield", "annualDepth", "annualVolume"};
    for (int i = 0; i < 4; ++i) {
        header->addWidget(namedLabel(left[i], this), i + 1, 0);
        header->addWidget(namedLabel(right[i], this), i + 1, 2);
    }
    for (int i = 0; i < 3; ++i)
        header->addWidget(namedLabel(middle[i], this), i + 1, 1);
    auto* keyColumn = new QVBoxLayout;
    keyColumn->addWidget(namedLabel("Label1", this, QStringLiteral("Kullanılan anahtar no: ve tarihleri")));
    keyColumn->addWidget(keys_);
    keys_->setFixedHeight(90);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(header);
    bottom->addLayout(keyColumn);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addWidget(months_);
    layout->addWidget(daily_);
    layout->addWidget(summary_);
    layout->addWidget(extremes_);
    layout->addLayout(bottom);
    layout->addStretch();

    connect(months_, &GridView::cellDoubleClicked, this, [this](int, int column) { openMonth(column); });

    fill();
    fitGridToTable(months_);
    fitGridToTable(daily_);
    fitGridToTable(summary_);
    fitGridToTable(extremes_);
}

void AnnualFlowScreen::fill() {
    const CurrentStation& station = hub_.current();
    const auto file = station.selectedFlowPath();
    const auto records =
        file.empty() ? std::vector<DayRecord>{} : readWaterYearFile(resolveCaseInsensitive(file));
    flow_ = computeAnnualFlow(records, loadHqTableSet(station.stationDir),
                              static_cast<double>(station.record.drainageArea));
    flowFileName_ = station.selectedFlowFile;
    sheet_ = annualFlowSheet(flow_, station.record, flowFileName_, context_.locale);
    showSheet(this, sheet_);
    keys_->clear();
    if (const Table* list = sheet_.findTable("List1"))
        for (int row = 0; row < list->rows(); ++row)
            keys_->addItem(qText(list->cell(row, 0)));
    keys_->setCurrentRow(-1);
    keys_->setEnabled(false);
}

bool AnnualFlowScreen::print() {
    return print(applicationPrinter());
}

Sheet AnnualFlowScreen::reportSheet() const {
    return readSheet(this, sheet_);
}

bool AnnualFlowScreen::print(QPrinter& printer) {
    return printSheets({reportSheet()}, printer);
}

void AnnualFlowScreen::openMonth(int column) {
    if (column < 1 || column > 12)
        return;
    hub_.setMonthIndex(column - 1);
    emit monthRequested(column - 1);
}

} // namespace korvel
