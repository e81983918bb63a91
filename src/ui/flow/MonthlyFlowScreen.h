#pragma once

#include "core/Sheet.h"
#include "flow/DayReadings.h"
#include "flow/MonthTable.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/journal/FileReadStamp.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <filesystem>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;

namespace korvel {

class GridView;

// The monthly flow table "aylıkgridfrm" ("Seviye gözlem cetveli (limnigraf)"): one month of
// the water-year file selected on the station screen, day by day, with the month's statistics.
// Levels and times can be corrected in the grid and saved back into the file.
//
// The main window's menu "Aylık akım tablosu ve hesabları" calls save() ("aylıkkayden"),
// print() ("yazdıraylık"), emits chart requests ("aylıkakımgraf") and closes the screen
// ("aylıkkapatn"). Open it through open(), which checks that a flow file is selected.
class MonthlyFlowScreen : public QWidget, public ReportWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("aylıkgridfrm");

    // Shows "Lütfen su yılı dosyası seciniz" and gives nothing when no flow file is selected.
    static MonthlyFlowScreen* open(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    MonthlyFlowScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // Combo1_Click: the month chosen here goes to the station screen, then the table is filled.
    void selectMonth(int monthIndex);
    // fillMonthTable for the month of the drop-down, from the station's selected flow file.
    void fill();
    // saveMonthTable into the file the table was filled from; cells that did not convert are
    // named in a message. Returns the save's outcome.
    MonthTableSave save();
    // Prints the screen without the readings list, its caption and the month drop-down.
    bool print();
    bool print(QPrinter& printer);
    // showDayReadings for a grid row: the logger's readings of that day, or the list hidden.
    void showReadingsOfRow(int row);
    // Command1: copyCellToRange from the cell pressed to the cell released.
    void copyPressedCell();

    const MonthFlow& monthFlow() const { return flow_; }
    const Sheet& sheet() const { return sheet_; }
    Sheet reportSheet() const override;
    const std::filesystem::path& flowFile() const { return flowFile_; }
    // The readings the list shows, nothing while it is hidden.
    const std::optional<DayReadings>& dayReadings() const { return dayReadings_; }

signals:
    // List1_DblClick: the readings chart of the day listed.
    void readingsChartRequested();

private:
    const AppContext& context_;
    StationHub& hub_;
    QComboBox* months_;
    QPushButton* copyButton_;
    GridView* grid_;
    QListWidget* readings_;
    QLabel* readingsCaption_;
    MonthFlow flow_;
    Sheet sheet_;
    std::filesystem::path flowFile_;
    FileReadStamp readStamp_;
    std::optional<DayReadings> dayReadings_;
};

} // namespace korvel
