#pragma once

#include "core/Sheet.h"
#include "rain/BasinTables.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/station/CurrentStation.h"

#include <QString>
#include <QWidget>
#include <map>

class QBoxLayout;
class QLabel;

namespace korvel {

class GridView;

// What the basin table screens share: the inputs read from the station screen's selection
// lists, the grids (each with its "kes" copy menu and the basin tables' cell editing), the
// title labels, and printing the window on a double-click. Typed cells are not saved.
class BasinTableScreen : public QWidget, public ReportWindow {
    Q_OBJECT
public:
    // What the screen was filled with, and what it shows now (typed cells included).
    const Sheet& sheet() const { return sheet_; }
    Sheet shownSheet() const;
    Sheet reportSheet() const override { return shownSheet(); }
    GridView* grid(const QString& name) const;

    // The report on the printer. False when nothing was printed.
    bool print();

protected:
    BasinTableScreen(const AppContext& context, StationHub& hub, const QString& formName, QWidget* parent);

    // The figures of the flow file and the three rainfall files selected on the station screen;
    // empty gauges and no flow while the selection is not complete.
    BasinInputs loadInputs() const;
    // The station screen after a build: entry 2 of RainSelectionList current and the station of
    // `dir` current.
    void leaveStationScreenAt(const std::filesystem::path& dir);
    std::filesystem::path flowStationDir() const;
    std::filesystem::path rainStationDir(int gauge) const;

    QLabel* addLabel(QBoxLayout* layout, const QString& name);
    GridView* addGrid(QBoxLayout* layout, const QString& name, const QString& copyMenu,
                      const QString& copyItem);
    // Shows the sheet's texts and tables in the controls of their names.
    void showBuiltSheet(Sheet sheet);

    void mouseDoubleClickEvent(QMouseEvent* event) override;

    const AppContext& context_;
    StationHub& hub_;

private:
    Sheet sheet_;
    std::map<QString, GridView*> grids_;
};

} // namespace korvel
