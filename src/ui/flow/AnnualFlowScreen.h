#pragma once

#include "core/Sheet.h"
#include "flow/AnnualFlow.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>

class QListWidget;
class QPrinter;

namespace korvel {

class GridView;

// The annual flow table "Yıllıkfrm" ("Yıllık akım  tablosu") of the flow file selected on the
// station screen: daily levels and discharges, the monthly figures, the instantaneous
// extremes, the rating tables used and the four annual figures. Built once on opening.
//
// The main window's menu "Yıllık akım tablosu hesabları" calls print() ("yazdıryıllıkn"),
// opens the chart ("yıllıkakımgrafn") from annualFlow(), and closes the screen
// ("yıllıkakımkapat"). A double click on a month sets the station screen's month and asks the
// main window, through monthRequested(), to open the monthly table afresh. The daily, summary
// and extremes grids carry the copy menus "kesmen8", "kesmen9" and "kesmen10".
class AnnualFlowScreen : public QWidget, public ReportWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("Yıllıkfrm");

    // Shows "Lütfen su yılı dosyası seciniz" and gives nothing when no flow file is selected.
    static AnnualFlowScreen* open(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    AnnualFlowScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // fillAnnualTable from the station's selected flow file.
    void fill();
    bool print();
    bool print(QPrinter& printer);
    // MSFlexGrid1_DblClick on a month column (1 = October).
    void openMonth(int column);

    const AnnualFlow& annualFlow() const { return flow_; }
    // The water-year file the table was filled from.
    const std::string& flowFileName() const { return flowFileName_; }
    const Sheet& sheet() const { return sheet_; }
    Sheet reportSheet() const override;

signals:
    // The monthly flow table should be (re)opened for the station screen's month.
    void monthRequested(int monthIndex);

private:
    const AppContext& context_;
    StationHub& hub_;
    GridView* months_;
    GridView* daily_;
    GridView* summary_;
    GridView* extremes_;
    QListWidget* keys_;
    AnnualFlow flow_;
    std::string flowFileName_;
    Sheet sheet_;
};

} // namespace korvel
