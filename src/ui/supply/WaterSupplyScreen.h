#pragma once

#include "ui/common/Export.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <memory>

class QListWidget;
class QMenu;
class QPrinter;
class QPushButton;

namespace korvel {

struct AppContext;
class GridView;
class WaterSupplyTable;

// The water supply table (`sutemini`) of the current station: the flow-file list "File1", the
// button "Bütün yılları hesabla" (Command1) and the grid "MSFlexGrid3" of the years added.
class WaterSupplyScreen : public QWidget, public ReportWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Su temini tablosu");

    // The table lists the water years of the station current when it opens.
    WaterSupplyScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~WaterSupplyScreen() override;

    // The main window's menu "Su temini tablosu" while the table is the active window:
    // "Su temini tablosunu yazdır" (`sutemintablosuyazn`, print()) and "Su temini tablosunu
    // kapat" (`suteminikapatn`, closeScreen()).
    QMenu* windowMenu() const { return menu_; }

    // A click on a flow file: its water year is added unless listed already or 39 are listed.
    // True when a row was added.
    bool addYear(const QString& flowFileName);
    // "Bütün yılları hesabla": every file of the list in list order.
    void addAllYears();
    // Prints the table's report (without the file list and the button). False when nothing was
    // printed.
    bool print();
    bool print(QPrinter& printer);
    Sheet reportSheet() const override;
    void closeScreen();

    const WaterSupplyTable& table() const { return *table_; }
    GridView* grid() const { return grid_; }
    QListWidget* fileList() const { return files_; }

private:
    void showTable();

    std::unique_ptr<const AppContext> context_;
    CurrentStation station_; // the station when the screen was opened
    std::unique_ptr<WaterSupplyTable> table_;
    Sheet sheet_; // what the grid and labels show
    QListWidget* files_;
    QPushButton* computeAll_;
    GridView* grid_;
    QMenu* menu_;
};

} // namespace korvel
