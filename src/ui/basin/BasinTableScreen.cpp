#include "ui/basin/BasinTableScreen.h"

#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/KeyOutcomeFilter.h"
#include "ui/common/SheetView.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace korvel {

BasinTableScreen::BasinTableScreen(const AppContext& context, StationHub& hub, const QString& formName,
                                   QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(formName);
    addExportMenu(this, &context_.locale);
}

Sheet BasinTableScreen::shownSheet() const {
    return readSheet(this, sheet_);
}

GridView* BasinTableScreen::grid(const QString& name) const {
    const auto it = grids_.find(name);
    return it == grids_.end() ? nullptr : it->second;
}

bool BasinTableScreen::print() {
    return printSheets({shownSheet()}, applicationPrinter());
}

BasinInputs BasinTableScreen::loadInputs() const {
    const CurrentStation& station = hub_.current();
    if (!station.selectionComplete())
        return BasinInputs{};
    return loadBasinInputs(station.flowSelection[0],
                           {station.rainSelection[0], station.rainSelection[1], station.rainSelection[2]});
}

std::filesystem::path BasinTableScreen::flowStationDir() const {
    const CurrentStation& station = hub_.current();
    return station.flowSelection.empty() ? std::filesystem::path() : station.flowSelection[0].parent_path();
}

std::filesystem::path BasinTableScreen::rainStationDir(int gauge) const {
    const CurrentStation& station = hub_.current();
    if (gauge < 0 || gauge >= static_cast<int>(station.rainSelection.size()))
        return {};
    return station.rainSelection[static_cast<std::size_t>(gauge)].parent_path();
}

void BasinTableScreen::leaveStationScreenAt(const std::filesystem::path& dir) {
    if (!hub_.current().selectionComplete())
        return;
    hub_.setRainSelectionCurrent(kBasinGaugeCount - 1);
    if (!dir.empty() && dir != hub_.current().stationDir)
        hub_.setStationDirectory(dir);
}

QLabel* BasinTableScreen::addLabel(QBoxLayout* layout, const QString& name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    layout->addWidget(label);
    return label;
}

GridView* BasinTableScreen::addGrid(QBoxLayout* layout, const QString& name, const QString& copyMenu,
                                    const QString& copyItem) {
    auto* grid = new GridView(name, this);
    if (!copyMenu.isEmpty())
        grid->setCopyMenu(copyMenu, copyItem);
    grid->setKeyFilter(keyOutcomeFilter(
        [](std::string_view cell, char32_t key, CellPosition) { return basinTableKey(cell, key); }));
    layout->addWidget(grid, 1);
    grids_[name] = grid;
    return grid;
}

void BasinTableScreen::showBuiltSheet(Sheet sheet) {
    sheet_ = std::move(sheet);
    showSheet(this, sheet_);
}

void BasinTableScreen::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    reportUnprinted(this, print());
}

} // namespace korvel
