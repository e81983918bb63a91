#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace korvel {

struct AppContext;
class MainWindow;
class StationHub;
class StationScreen;

// The screens the menu commands open.
enum class Screen {
    LevelSheet,      // level observation sheet
    MonthlyFlow,     // monthly flow table
    AnnualFlow,      // annual flow table
    YearbookPage,    // yearbook page
    WaterSupply,     // water supply table
    HqTable,         // HQ rating table
    MeasurementCard, // discharge measurement card
    RatingCurve,     // rating curve fitted from the measurement card
    MonthlyTotals,   // water year from monthly totals
    Correlation,     // inter-station correlation
    RainAnalysis,    // one-year rainfall analysis
    BasinRain,       // basin rainfall table (Tablolar (1))
    BasinDaily,      // monthly rainfall/discharge table (Tablolar(2))
    BasinRunoff,     // monthly rainfall-runoff tables (Tablolar(3))
    RainyDays,       // rainy-day class table (Tablolar(4))
    SuvakImport,     // sibling-program data import
    Korvel96Import,  // older-program data import
    Archive,         // zip archive of station files
    FileDeletion,    // deletion of station files
    LevelLogger,     // water-level logger
    ModemTerminal,   // modem terminal
    DataCarrier,     // data carrier
    CurrentMeter,    // current meter
    RainLogger,      // rain logger
    PortSettings,    // serial port settings
    AnnualChart,     // annual flow chart
    MonthlyChart,    // monthly flow chart
    RainChart,       // annual rainfall chart
    RainfallIdf,     // rainfall intensity-duration-frequency of a station's years
    FlowDuration,    // flow-duration curve of a station's years
    LongRecord,      // the long record of a flow station
    ChangeHistory,   // the change journal of the current station
};

// What a screen is built with.
struct ScreenSite {
    const AppContext& context;
    StationHub& station;
    MainWindow& window;
};
using ScreenFactory = std::function<QWidget*(const ScreenSite&)>;

// The factory of a screen class built as T(const AppContext&, StationHub&, QWidget* parent).
template <class T> ScreenFactory screenOf() {
    return [](const ScreenSite& site) -> QWidget* { return new T(site.context, site.station, nullptr); };
}

enum class Opening {
    Child, // a child window of the main window, brought to the front when open already
    Modal, // shown modally over the main window
};

struct ScreenSpec {
    Screen screen;
    QString title; // the menu caption, named when the screen cannot be opened
    Opening opening;
    QString contextMenu; // shown in the menu bar while the screen is active; empty for none
    ScreenFactory make;  // empty while the screen does not exist in this version
};

inline const QString kStationMissingMessage = QStringLiteral("Lütfen istasyon secimin yapınız");
inline const QString kLevelSheetStationMessage =
    QStringLiteral("Lütfen istasyon secimini yapınız yada yeniden oluşturunuz");
inline const QString kFlowFileMissingMessage = QStringLiteral("Lütfen su yılı dosyası seciniz");

// The command map of the main window: every menu command runs one handler here, which checks
// the command's precondition and opens, prints or closes its screen.
class CommandMap : public QObject {
    Q_OBJECT
public:
    explicit CommandMap(MainWindow& window);

    // The station screen's double clicks open the annual flow table, the HQ table and the
    // rainfall analysis.
    void connectStationScreen(StationScreen& station);

    const ScreenSpec& spec(Screen screen) const;
    // Gives a screen its factory (or replaces it) after start-up.
    void setFactory(Screen screen, ScreenFactory make);
    // Loads the screen when it is not open and brings it to the front; modal screens run
    // until closed. Returns the open child, null when there is none.
    QWidget* open(Screen screen);
    // Closes the screen when it is open, then opens it afresh.
    QWidget* reopen(Screen screen);
    void close(Screen screen);
    // The open child of the screen, null when it is not open.
    QWidget* screen(Screen screen) const;

    // The names of all commands the menus run.
    QStringList commandNames() const;

signals:
    // A command passed its precondition and asks for the screen.
    void screenRequested(korvel::Screen screen);

private:
    StationHub& station() const;
    bool stationChosen() const;
    void route(const QString& command, std::function<void()> handler);
    void connectCommands();
    void connectExports();

    // Commands with a precondition or an action of their own.
    void showStationScreen();
    void newStation();
    void saveStation();
    void openLevelLogger();
    void openLevelSheet();
    void openMonthlyFlow();
    void openAnnualFlow();
    void openYearbookPage();
    void openHqTable();
    void openRatingCurve();
    void openBasinDaily();
    void startKorvel96();
    void showPrinterSetupDialog();
    void showAbout();
    void showNetworkYearbook();
    void addWaterYearToStation();
    void addRainYearToStation();
    void closeAnnualChartAndTable();
    void closeAnnualChart();
    QWidget* makeMonthlyChart(const ScreenSite& site);
    QWidget* makeAnnualChart(const ScreenSite& site);

    // Commands on the open screen of a context menu.
    void print(Screen screen);
    void connectScreen(QWidget* widget);
    // A menu command that acts on an open screen of class T; nothing when it is not open.
    template <class T, class F> std::function<void()> on(Screen screen, F action) {
        return [this, screen, action] {
            if (auto* widget = qobject_cast<T*>(this->screen(screen)))
                action(*widget);
        };
    }
    // The print command of an open screen of class T, telling the user when nothing printed.
    template <class T> std::function<void()> printsOn(Screen screen) {
        return on<T>(screen, [this](T& s) { reportPrint(s.print()); });
    }
    void reportPrint(bool printed);
    void armDeferred(Screen screen, const QString& timerName);

    MainWindow& window_;
    std::vector<ScreenSpec> specs_;
    std::map<Screen, QPointer<QWidget>> open_;
    QStringList commandNames_;
};

} // namespace korvel
