#pragma once

#include "core/Sheet.h"
#include "rain/RainYearAnalysis.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/station/CurrentStation.h"

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

class QDialog;
class QLabel;
class QLineEdit;

namespace korvel {

class GridView;
class RainDayTableScreen;

// The one-year rainfall analysis ("Pludegerlendirfrm"): the daily totals of one rainfall-year
// file by day and month, the monthly summary, the yearly labels and the twelve duration boxes.
// It analyses the selected entry of RainSelectionList when it is made; with no entry it stays
// empty. A double-click on a day opens that day's interpretation table.
class RainAnalysisScreen : public QWidget, public ReportWindow {
    Q_OBJECT
    // The signal's table type complete for moc, so that it is known as a QObject pointer.
    Q_MOC_INCLUDE("ui/rain/RainDayTableScreen.h")
public:
    static constexpr const char* kMenuName = "pludeg"; // the main window's menu for this screen

    RainAnalysisScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // Runs the analysis of a file, as the screen does for the selection when it is made.
    void analyse(const std::filesystem::path& file);

    const std::filesystem::path& analysedFile() const { return file_; }
    const std::optional<RainYearAnalysis>& analysis() const { return analysis_; }
    // What the screen shows now, the cells a saved day changed included.
    Sheet shownSheet() const;
    Sheet reportSheet() const override { return shownSheet(); }

    // The commands of the main window's "Plüviograf Değerlendirme" menu.
    bool printTable();        // "Tabloyu Yazdır": the report on the printer
    void showRainChart();     // "Yağış Grafiği ": the yearly rainfall chart, modal
    QDialog* makeRainChart(); // the chart window that command shows (for the caller to show)
    bool addNewWaterYear();   // "Yeni Su Yılı Ekle": a new rainfall-year file for the current station
    void closeTable();        // "Tabloyu Kapat"

    // The "kes" items of the copy menus kesmen11 (daily grid) and kesmen12 (summary grid).
    void kesme11();
    void kesme12();

    // A double-click on a day cell: opens the day's interpretation table, or nothing for the
    // heading row and for a day the month does not have. The table is announced through
    // dayTableOpened; when nobody listens it is shown as a window of its own.
    RainDayTableScreen* openDay(int row, int column);

signals:
    void dayTableOpened(korvel::RainDayTableScreen* table);

private:
    void daySaved(int row, int column, int dayTenths);
    std::string stationNumberOf(const std::filesystem::path& file) const;

    const AppContext& context_;
    StationHub& hub_;
    std::filesystem::path file_;
    std::optional<RainYearAnalysis> analysis_;
    Sheet sheet_;
    std::vector<QPointer<RainDayTableScreen>> dayTables_;

    GridView* dailyGrid_;
    GridView* summaryGrid_;
};

} // namespace korvel
