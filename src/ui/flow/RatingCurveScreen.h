#pragma once

#include "flow/RatingFit.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>

class QChart;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace korvel {

struct AppContext;
class GridView;

// The screen "Anahtar eğrisi": the rating curve fitted to the current station's measurement
// card. The boxes "fromDate", "toDate" (gaugings of these dates; empty = all), "segments"
// (auto / 1 / 2 / 3), "breaks" (breakpoint levels separated by ";") and "extrapolateTo" (level
// up to which the curve goes beyond the gauged range) set the fit, "fitButton" runs it. The grid
// "gaugings" lists each gauging with its fitted discharge and deviation; a click in its column
// "Dışarıda" leaves the gauging out or takes it back, and the fit is made again. The charts
// "curveChart" (linear or, with "logAxes", logarithmic), "deviationLevelChart" and
// "deviationDateChart" show the fit; "saveButton" saves it as a new HQ table.
class RatingCurveScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("anahtaregrisifrm");
    static inline const QString kCaption = QStringLiteral("Anahtar eğrisi");

    RatingCurveScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~RatingCurveScreen() override;

    // Fits the curve as the boxes say. A fit that cannot be made is named in the label
    // "message" and, when `tellUser`, in a message box too.
    bool refit(bool tellUser = true);
    // Leaves the gauging of a grid row (from 1) out of the fit or takes it back, and refits.
    void toggleLeftOut(int gridRow);
    // "HQ tablosu olarak kaydet": asks the table number and the validity period, writes the
    // table, and offers to end earlier tables' periods that run on over its first day.
    bool saveAsHqTable();

    const std::optional<RatingFit>& fit() const { return fit_; }
    const std::set<std::size_t>& leftOutRows() const { return leftOut_; }
    QChart* curveChart() const { return curveChart_; }
    QChart* deviationLevelChart() const { return deviationLevelChart_; }
    QChart* deviationDateChart() const { return deviationDateChart_; }

signals:
    void tableSaved(const QString& fileName);

private:
    std::optional<RatingFitOptions> optionsOfBoxes(QString& problem) const;
    void showFit();
    void showProblem(const QString& text, bool tellUser);

    std::unique_ptr<const AppContext> context_;
    StationHub& hub_;
    std::filesystem::path cardPath_;
    QLineEdit* fromDate_;
    QLineEdit* toDate_;
    QComboBox* segments_;
    QLineEdit* breaks_;
    QLineEdit* extrapolateTo_;
    QCheckBox* logAxes_;
    QLabel* message_;
    GridView* gaugings_;
    GridView* segmentGrid_;
    GridView* curveGrid_;
    QChart* curveChart_;
    QChart* deviationLevelChart_;
    QChart* deviationDateChart_;
    std::set<std::size_t> leftOut_;
    std::vector<Gauging> shown_; // the gaugings of the grid rows
    std::optional<RatingFit> fit_;
};

} // namespace korvel
