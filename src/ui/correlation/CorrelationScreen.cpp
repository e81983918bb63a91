#include "ui/correlation/CorrelationScreen.h"

#include "core/Cp1254.h"
#include "core/Paths.h"
#include "flow/CandidateSearch.h"
#include "flow/Correlation.h"
#include "platform/Dialogs.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/PleaseWait.h"
#include "ui/common/QtText.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <optional>

namespace korvel {

namespace {

// The share of the event loop a search takes before it lets the window repaint.
constexpr qint64 kChunkMilliseconds = 25;

QListWidget* namedList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    return list;
}

} // namespace

struct CorrelationScreen::State {
    AppContext context;
    StationYears target;
    StationYears reference;
    std::optional<CorrelationFit> fit;
    std::string examinedLine;
    std::vector<Candidate> candidates;
    std::unique_ptr<CandidateSearch> search;
    // The flow file a completed year is named after: the station screen's selection at load.
    std::string targetFlowFile;
};

CorrelationScreen::CorrelationScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), state_(std::make_unique<State>()), hub_(hub),
      targetYears_(namedList(QStringLiteral("targetYears"), this)),
      incompleteYears_(namedList(QStringLiteral("incompleteYears"), this)),
      referenceYears_(namedList(QStringLiteral("List3"), this)),
      candidateLines_(namedList(QStringLiteral("List4"), this)),
      candidatePaths_(namedList(QStringLiteral("candidatePaths"), this)),
      targetLabel_(namedLabel(QStringLiteral("Label1"),
                              QStringLiteral("Eksik olan istasyonun uygun gozlem yapılmış değerleri"), this)),
      referenceLabel_(
          namedLabel(QStringLiteral("Label2"),
                     QStringLiteral("Referans alınacak istasyonun gözlem yapılmış bütün degerleri"), this)),
      chooseLabel_(
          namedLabel(QStringLiteral("Label3"),
                     QStringLiteral("Referans alınacak istasyon ve ozelliklerini seciniz (korelasyon "
                                    "seçiminize uygun yapılacaktır)"),
                     this)),
      fitLabel_(namedLabel(QStringLiteral("fit"), QString(), this)),
      scanButton_(new QPushButton(
          QStringLiteral("Bütün istasyonlari ve datalarını tarayarak uygun olanlarını goster..."), this)),
      scanTimer_(new QTimer(this)) {
    state_->context = context;
    setObjectName(QStringLiteral("korelasyonfrm"));
    addExportMenu(this, &state_->context.locale);
    setWindowTitle(qText(kCorrelationCaption));
    scanButton_->setObjectName(QStringLiteral("Command1"));
    scanTimer_->setObjectName(QStringLiteral("scanTimer"));
    scanTimer_->setInterval(0);
    candidatePaths_->hide();
    chooseLabel_->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{targetLabel_, targetYears_, referenceLabel_, referenceYears_})
        w->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(scanButton_, 0, 0, 1, 2);
    layout->addWidget(chooseLabel_, 1, 0, 1, 2);
    layout->addWidget(candidateLines_, 2, 0, 1, 2);
    layout->addWidget(targetLabel_, 3, 0);
    layout->addWidget(referenceLabel_, 3, 1);
    layout->addWidget(targetYears_, 4, 0);
    layout->addWidget(referenceYears_, 4, 1);
    layout->addWidget(fitLabel_, 5, 0, 1, 2);
    layout->addWidget(incompleteYears_, 6, 0, 1, 2);
    layout->addWidget(candidatePaths_, 7, 0, 1, 2);

    connect(scanButton_, &QPushButton::clicked, this, &CorrelationScreen::scanAllStations);
    connect(scanTimer_, &QTimer::timeout, this, &CorrelationScreen::scanChunk);
    connect(candidateLines_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { examineCandidate(candidateLines_->row(item)); });
    connect(referenceYears_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { completeYear(item->text()); });
    resize(900, 600);
    loadTarget();
}

CorrelationScreen::~CorrelationScreen() {
    if (wait_)
        delete wait_;
}

const StationYears& CorrelationScreen::target() const {
    return state_->target;
}

const CorrelationFit* CorrelationScreen::fit() const {
    return state_->fit ? &*state_->fit : nullptr;
}

bool CorrelationScreen::scanRunning() const {
    return state_->search != nullptr;
}

StationYears CorrelationScreen::scanStation(const std::filesystem::path& dir) {
    PleaseWait wait(this);
    wait.start();
    StationYearsScan scan(dir);
    const std::string windowsDir = state_->context.paths.toWindows(dir);
    while (!scan.finished()) {
        wait.setText(qText(scanningText(windowsDir, scan.nextFile())));
        scan.step();
    }
    return scan.takeResult();
}

// Each incomplete file is listed once, however often a scan comes across it.
void CorrelationScreen::addIncompleteLines(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        const QString line = qText(incompleteYearLine(state_->context.paths.toWindows(file)));
        if (incompleteYears_->findItems(line, Qt::MatchExactly).isEmpty())
            incompleteYears_->addItem(line);
    }
}

void CorrelationScreen::loadTarget() {
    state_->target = StationYears{};
    targetYears_->clear();
    const CurrentStation& station = hub_.current();
    const std::filesystem::path dir = station.stationDir;
    state_->targetFlowFile = station.selectedFlowFile.empty()
                                 ? waterYearFileName(2000, station.record.stationNumber)
                                 : station.selectedFlowFile;
    if (dir.empty())
        return;
    state_->target = scanStation(dir);
    for (const std::string& year : state_->target.years)
        targetYears_->addItem(QString::fromStdString(year));
    addIncompleteLines(state_->target.incompleteFiles);
}

void CorrelationScreen::scanAllStations() {
    if (state_->search)
        return;
    state_->search = std::make_unique<CandidateSearch>(state_->context.paths.dataRoot(), state_->target,
                                                       state_->context.locale);
    wait_ = new PleaseWait(this, PleaseWait::kDefaultCaption, true);
    wait_->setRange(0, static_cast<int>(state_->search->stationCount()));
    wait_->start();
    scanTimer_->start();
}

void CorrelationScreen::cancelScan() {
    if (wait_)
        wait_->cancel();
}

void CorrelationScreen::scanChunk() {
    if (!state_->search || inChunk_)
        return;
    inChunk_ = true;
    if (wait_ && wait_->wasCancelled()) {
        inChunk_ = false;
        finishScan(true);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!state_->search->finished() && clock.elapsed() < kChunkMilliseconds)
        state_->search->step();
    if (state_->search->finished()) {
        inChunk_ = false;
        finishScan(false);
        return;
    }
    if (wait_) {
        wait_->setValue(static_cast<int>(state_->search->stationsScanned()));
        wait_->setText(qText(scanningText(state_->context.paths.toWindows(state_->search->currentStation()),
                                          state_->search->nextFile())));
    }
    inChunk_ = false;
}

void CorrelationScreen::finishScan(bool cancelled) {
    scanTimer_->stop();
    addIncompleteLines(state_->search->incompleteFiles());
    for (const Candidate& candidate : state_->search->candidates()) {
        const bool listed =
            std::any_of(state_->candidates.begin(), state_->candidates.end(),
                        [&](const Candidate& c) { return c.stationDir == candidate.stationDir; });
        if (listed)
            continue;
        state_->candidates.push_back(candidate);
        candidateLines_->addItem(qText(candidate.line));
        candidatePaths_->addItem(qText(state_->context.paths.toWindows(candidate.stationDir)));
    }
    state_->search.reset();
    if (wait_) {
        wait_->close();
        wait_->deleteLater();
    }
    if (!cancelled)
        scanButton_->hide();
    chooseLabel_->show();
    emit scanFinished(cancelled);
}

void CorrelationScreen::examineCandidate(int row) {
    if (row < 0 || row >= static_cast<int>(state_->candidates.size()))
        return;
    for (QWidget* w :
         std::initializer_list<QWidget*>{targetLabel_, targetYears_, referenceLabel_, referenceYears_})
        w->show();
    candidatePaths_->setCurrentRow(row);
    const Candidate& candidate = state_->candidates[static_cast<std::size_t>(row)];
    state_->reference = scanStation(candidate.stationDir);
    referenceYears_->clear();
    for (const std::string& year : state_->reference.years)
        referenceYears_->addItem(QString::fromStdString(year));
    addIncompleteLines(state_->reference.incompleteFiles);
    state_->fit = correlate(state_->target, state_->reference);
    state_->examinedLine = candidate.line;
    fitLabel_->setText(state_->fit ? qText(fitText(*state_->fit, state_->context.locale)) : QString());
}

void CorrelationScreen::completeYear(const QString& year) {
    if (!state_->fit || state_->reference.stationDir.empty())
        return;
    for (int i = 0; i < targetYears_->count(); ++i)
        if (targetYears_->item(i)->text() == year)
            return;
    const auto complete = [&](MeasuredDays measuredDays) {
        return korvel::completeYear(state_->target, state_->targetFlowFile, state_->reference, *state_->fit,
                                    state_->examinedLine, year.toStdString(), measuredDays);
    };
    CompletionOutcome outcome;
    try {
        outcome = complete(MeasuredDays::Keep);
        // Measured days are replaced only when the user says so.
        if (outcome.status == CompletionOutcome::Status::MeasuredDaysKept) {
            if (!askYesNo(this, qText(completionMeasuredDaysQuestion(outcome.measuredDays))))
                return;
            outcome = complete(MeasuredDays::Replace);
        }
    } catch (const std::exception& e) {
        showMessage(this,
                    QStringLiteral("Su yılı dosyası yazılamadı: %1").arg(QString::fromStdString(e.what())));
        return;
    }
    using Status = CompletionOutcome::Status;
    switch (outcome.status) {
    case Status::AlreadyComplete:
    case Status::MeasuredDaysKept:
        return;
    case Status::NotReferenceYear:
    case Status::NoReferenceFile:
        showMessage(this, QStringLiteral("Referans istasyonun %1 su yılı dosyası okunamadı").arg(year));
        return;
    case Status::LineNotInvertible:
        showMessage(this,
                    QStringLiteral("Korelasyon doğrusunun eğimi (b) sıfır olduğundan bu istasyonla su yılı "
                                   "tamamlanamaz"));
        return;
    case Status::Completed:
        break;
    }
    targetYears_->addItem(year);
    hub_.refreshFileLists();
    if (outcome.uncoveredDays > 0)
        showMessage(this, QStringLiteral("%1 gün, referans istasyonda o gün için HQ tablosu bulunmadığından "
                                         "doldurulmadı")
                              .arg(outcome.uncoveredDays));
    emit yearCompleted(year);
}

void CorrelationScreen::closeScreen() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace korvel
