#include "ui/flow/YearbookScreen.h"

#include "core/Paths.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korvel {

namespace {

QLineEdit* pageBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setToolTip(QStringLiteral("Tıklayarak değişiklik yapabilirsiniz."));
    box->setFrame(false);
    box->setCursorPosition(0);
    return box;
}

} // namespace

YearbookScreen* YearbookScreen::open(const AppContext& context, StationHub& hub, QWidget* parent) {
    if (!requireFlowFile(hub.current(), parent))
        return nullptr;
    return new YearbookScreen(context, hub, parent);
}

YearbookScreen::YearbookScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Kitap "));
    // Its print command is a menu of its own, with no room for the export items beside it.
    addExportMenu(this, &context_.locale);
    setAutoFillBackground(true);
    QPalette page = palette();
    page.setColor(QPalette::Window, Qt::white);
    setPalette(page);

    extremes_ = new GridView("MSFlexGrid1", this);
    extremes_->setKeyFilter(gridKeyFilter(&yearbookExtremesKey));
    monthly_ = new GridView("MSFlexGrid2", this);
    daily_ = new GridView("MSFlexGrid3", this);
    for (GridView* grid : {extremes_, monthly_, daily_})
        useCompactFont(grid);
    makeReadOnly(monthly_);
    makeReadOnly(daily_);

    auto* description = new QGridLayout;
    description->addWidget(pageBox("Text4", this), 0, 0, 1, 2);
    description->addWidget(pageBox("Text5", this), 1, 0, 1, 2);
    int row = 2;
    for (const auto& [box, caption] : kYearbookCaptionedBoxes) {
        description->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        description->addWidget(pageBox(box, this), row, 1);
        ++row;
    }
    description->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(description, 1);
    top->addWidget(extremes_, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addWidget(namedLabel("Label7", this));
    layout->addWidget(daily_);
    layout->addWidget(monthly_);
    layout->addWidget(namedLabel("Label6", this));
    layout->addStretch();

    fill();
    fitGridToTable(extremes_);
    fitGridToTable(monthly_);
    fitGridToTable(daily_);
}

void YearbookScreen::fill() {
    const CurrentStation& station = hub_.current();
    const auto file = station.selectedFlowPath();
    const auto records =
        file.empty() ? std::vector<DayRecord>{} : readWaterYearFile(resolveCaseInsensitive(file));
    const int flowFiles = static_cast<int>(listFiles(station.stationDir, "*.ard").size());
    figures_ = computeYearbook(records, loadHqTableSet(station.stationDir),
                               static_cast<double>(station.record.drainageArea));
    sheet_ = yearbookSheet(figures_, station.record, station.selectedFlowFile, flowFiles, context_.locale);
    showSheet(this, sheet_);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->setCursorPosition(0);
}

bool YearbookScreen::print() {
    return print(applicationPrinter());
}

Sheet YearbookScreen::reportSheet() const {
    return readSheet(this, sheet_);
}

bool YearbookScreen::print(QPrinter& printer) {
    return printSheets({reportSheet()}, printer);
}

} // namespace korvel
