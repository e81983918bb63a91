#pragma once

#include "ui/common/PleaseWait.h"
#include "ui/station/CurrentStation.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace korvel {

struct AppContext;
struct CorrelationFit;
struct StationYears;

// The inter-station correlation (`korelasyonfrm`) of the current station, the target: its
// complete years ("targetYears"), the incomplete files found ("incompleteYears"), the stations
// that correlate with it ("List4", their directories in the hidden "candidatePaths"), the
// complete years of the candidate examined ("List3") and the fitted line ("fit").
class CorrelationScreen : public QWidget {
    Q_OBJECT
public:
    CorrelationScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~CorrelationScreen() override;

    // Scans the target's flow files (the constructor does it once).
    void loadTarget();
    // Command1: searches every station of the data root a few files at a time on the timer
    // "scanTimer", showing each file in the please-wait window, which can cancel the search.
    void scanAllStations();
    bool scanRunning() const;
    void cancelScan();
    // List4 click: the candidate's complete years and the line fitted to them.
    void examineCandidate(int row);
    // List3 double-click: completes the target's water year from the candidate examined.
    void completeYear(const QString& year);
    void closeScreen();

    const StationYears& target() const;
    // The line of the candidate examined; none before one was examined or when none fits.
    const CorrelationFit* fit() const;
    PleaseWait* waitWindow() const { return wait_; }

signals:
    void scanFinished(bool cancelled);
    void yearCompleted(const QString& year);

private:
    void scanChunk();
    void finishScan(bool cancelled);
    StationYears scanStation(const std::filesystem::path& dir);
    void addIncompleteLines(const std::vector<std::filesystem::path>& files);

    struct State;
    std::unique_ptr<State> state_;
    StationHub& hub_;
    bool inChunk_ = false;

    QListWidget* targetYears_;
    QListWidget* incompleteYears_;
    QListWidget* referenceYears_;
    QListWidget* candidateLines_;
    QListWidget* candidatePaths_;
    QLabel* targetLabel_;
    QLabel* referenceLabel_;
    QLabel* chooseLabel_;
    QLabel* fitLabel_;
    QPushButton* scanButton_;
    QTimer* scanTimer_;
    QPointer<PleaseWait> wait_;
};

} // namespace korvel
