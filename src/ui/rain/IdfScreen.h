#pragma once

#include "core/Sheet.h"
#include "rain/RainfallIdf.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <optional>

class QChart;
class QComboBox;
class QPushButton;
class QTabWidget;

namespace korvel {

class GridView;

// Rainfall intensity-duration-frequency of the current station ("yagissiddetfrm"): on opening,
// every rainfall year of the station is analysed (a please-wait window shows the progress);
// "Maksimumlar tablosunu yükle..." (`loadMaxima`) takes an annual-maxima table from a CSV file
// instead. The tabs show the intensities with the IDF chart (log-log, one curve per return
// period), the depths, the annual maxima with their dates, and the fitted parameters; the
// drop-down `distributionChoice` switches the tables and the chart between Gumbel and GEV. The
// window's context menu prints the shown page and saves it as PDF, or every grid as CSV.
class IdfScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("yagissiddetfrm");
    static inline const QString kTooFewYearsMessage =
        QStringLiteral("Yağış şiddet analizi için en az 5 kullanılabilir yıl gerekir; bulunan: %1");

    IdfScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // The analysis shown, none while fewer than five usable years were found.
    const std::optional<IdfAnalysis>& analysis() const { return analysis_; }
    const Sheet& sheet() const { return sheet_; }
    ExtremeDistribution distribution() const;
    void setDistribution(ExtremeDistribution distribution);
    QChart* chart() const { return chart_; }
    QTabWidget* tabs() const { return tabs_; }

    // Analyses the station's rainfall years, or the maxima table in a CSV file; a message tells
    // what kept it from an analysis. True when an analysis is shown.
    bool analyseStation();
    bool analyseMaximaFile(const QString& file);
    // "Maksimumlar tablosunu yükle...": asks for the file, then analyseMaximaFile.
    void loadMaxima();

private:
    bool analyse(const StationRainMaxima& maxima);
    void showAnalysis();
    void drawChart();

    const AppContext& context_;
    CurrentStation station_;
    std::optional<IdfAnalysis> analysis_;
    std::vector<LeftOutRainYear> leftOut_;
    Sheet sheet_;
    QComboBox* distribution_;
    QPushButton* loadMaxima_;
    QTabWidget* tabs_;
    QChart* chart_;
};

} // namespace korvel
