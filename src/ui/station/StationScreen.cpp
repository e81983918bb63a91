#include "ui/station/StationScreen.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "platform/Dialogs.h"
#include "store/StationLists.h"
#include "store/StationMap.h"
#include "ui/common/QtText.h"
#include "ui/journal/AppJournal.h"
#include "ui/station/DirectoryList.h"
#include "ui/station/SeriesExportDialog.h"
#include "ui/station/StationMapView.h"

#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace korvel {

namespace fs = std::filesystem;

namespace {

QString trimmedField(std::string_view field) {
    return qText(trimmed(field));
}

std::string stdText(const QString& text) {
    return text.toStdString();
}

void fillList(QListWidget* list, const std::vector<std::string>& names) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
    list->setCurrentRow(-1);
}

int rowOfName(const QListWidget* list, const std::string& name) {
    const QString wanted = QString::fromStdString(name);
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == wanted)
            return row;
    return -1;
}

std::string nameAt(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item == nullptr ? std::string() : item->text().toStdString();
}

// Selects a row without running the list's click handler.
void selectRowQuietly(QListWidget* list, int row) {
    const QSignalBlocker blocker(list);
    list->setCurrentRow(row);
}

} // namespace

StationScreen::StationScreen(const AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(kFormName);
    setWindowTitle(kCaption);
    buildControls();

    createMapFileIfMissing(mapFile());
    {
        const QSignalBlocker blocker(month_);
        for (std::string_view item : kMonthList)
            month_->addItem(qText(item));
        month_->setCurrentIndex(0);
    }
    state_.monthIndex = 0;
    {
        const QSignalBlocker blocker(region_);
        for (std::string_view item : kRegionList)
            region_->addItem(qText(item));
        region_->setCurrentIndex(-1);
        region_->setEditText(QString());
    }
    const QString stored = context_.settings != nullptr ? context_.settings->lastStationPath() : QString();
    changeDirectory(stored.trimmed().isEmpty() ? context_.paths.dataRoot()
                                               : context_.paths.resolve(stored.trimmed().toStdString()));
    clearRainSelection();
}

// ---- directory change

void StationScreen::setStationDirectory(const fs::path& dir) {
    changeDirectory(dir);
}

bool StationScreen::isDriveRoot(const fs::path& dir) const {
    const auto normal = [](const fs::path& p) {
        fs::path n = p.lexically_normal();
        return n.has_relative_path() && !n.has_filename() ? n.parent_path() : n;
    };
    return normal(dir) == normal(context_.paths.driveRoot());
}

void StationScreen::changeDirectory(fs::path dir) {
    if (isDriveRoot(dir))
        dir = context_.paths.dataRoot();
    state_.stationDir = dir;
    directories_->setDirectory(dir);
    removeStaleTemporaries(dir);
    settleStationJournal(this, dir);

    const bool hasRecord = fileExists(resolveCaseInsensitive(dir / kStationRecordFileName));
    state_.record = loadStationRecord(dir, stdText(region_->currentText()));
    // Also without a record, so that one written meanwhile by someone else is not replaced unasked.
    recordStamp_.remember(resolveCaseInsensitive(dir / kStationRecordFileName));
    showRecord(hasRecord);
    if (context_.settings != nullptr)
        context_.settings->setLastStationPath(windowsPath(dir));

    listFlowFiles(dir);
    listHqFiles(dir);
    listRainFiles(dir);
    setPasswordMask(!trimmed(state_.record.password).empty());
    if (flowFiles_->count() > 0)
        selectFlowFile(nameAt(flowFiles_, flowFiles_->count() - 1));
}

void StationScreen::showRecord(bool fromFile) {
    const StationRecord& r = state_.record;
    const auto number = [&](float value) {
        return fromFile ? qText(context_.locale.numberText32(value)) : QString();
    };
    stationNumber_->setText(trimmedField(r.stationNumber));
    riverName_->setText(trimmedField(r.riverName));
    stationName_->setText(trimmedField(r.stationName));
    basinName_->setText(trimmedField(r.basinName));
    showRegion(trimmedField(r.regionName));
    openingDate_->setText(trimmedField(r.openingDate));
    elevation_->setText(number(r.elevation));
    drainageArea_->setText(number(r.drainageArea));
    thiessenArea_->setText(number(r.thiessenArea));
    coordinates_->setText(trimmedField(r.coordinates));
    note_->setPlainText(trimmedField(r.note));
    phoneNumber_->setText(trimmedField(r.phoneNumber));
    dialPrefix_->setText(trimmedField(r.dialPrefix));
    modemHqFile_->setText(trimmedField(r.modemHqFile));
}

void StationScreen::showRegion(const QString& region) {
    const QSignalBlocker blocker(region_);
    for (int i = 0; i < region_->count(); ++i) {
        if (region_->itemText(i).trimmed() == region && !region.isEmpty()) {
            region_->setCurrentIndex(i);
            return;
        }
    }
    region_->setCurrentIndex(-1);
    region_->setEditText(region);
}

void StationScreen::regionChosen(int index) {
    if (index < 0)
        return;
    const QString region = region_->itemText(index).trimmed();
    changeDirectory(context_.paths.resolve("c:\\korvel2000\\" + region.toStdString()));
    const QSignalBlocker blocker(region_);
    region_->setCurrentIndex(index);
}

// ---- file lists

void StationScreen::listFlowFiles(const fs::path& dir) {
    flowListDir_ = dir;
    state_.selectedFlowFile.clear();
    fillList(flowFiles_, listFiles(dir, "*.ard"));
}

void StationScreen::listHqFiles(const fs::path& dir) {
    hqListDir_ = dir;
    state_.selectedHqFile.clear();
    fillList(hqFiles_, listFiles(dir, "*.HQ"));
}

void StationScreen::listRainFiles(const fs::path& dir) {
    rainListDir_ = dir;
    state_.selectedRainFile.clear();
    fillList(rainFiles_, listFiles(dir, "*.yrd"));
}

void StationScreen::refreshFileLists() {
    const std::string flow = state_.selectedFlowFile;
    const std::string hq = state_.selectedHqFile;
    const std::string rain = state_.selectedRainFile;
    listFlowFiles(flowListDir_);
    listHqFiles(hqListDir_);
    listRainFiles(rainListDir_);
    const auto reselect = [](QListWidget* list, const std::string& name, std::string& selected) {
        const int row = rowOfName(list, name);
        selectRowQuietly(list, row);
        selected = row >= 0 ? name : std::string();
    };
    reselect(flowFiles_, flow, state_.selectedFlowFile);
    reselect(hqFiles_, hq, state_.selectedHqFile);
    reselect(rainFiles_, rain, state_.selectedRainFile);
}

void StationScreen::selectFlowFile(const std::string& fileName) {
    const int row = rowOfName(flowFiles_, fileName);
    selectRowQuietly(flowFiles_, row);
    flowFileClicked(row);
}

void StationScreen::selectHqFile(const std::string& fileName) {
    const int row = rowOfName(hqFiles_, fileName);
    selectRowQuietly(hqFiles_, row);
    hqFileClicked(row);
}

void StationScreen::selectRainFile(const std::string& fileName) {
    const int row = rowOfName(rainFiles_, fileName);
    selectRowQuietly(rainFiles_, row);
    rainFileClicked(row);
}

void StationScreen::flowFileClicked(int row) {
    state_.selectedFlowFile = nameAt(flowFiles_, row);
    if (row < 0)
        return;
    if (state_.flowSelection.size() != 1) {
        state_.flowSelection.assign(1, flowListDir_ / state_.selectedFlowFile);
        showSelections();
    }
    updateTableCommands();
}

void StationScreen::hqFileClicked(int row) {
    state_.selectedHqFile = nameAt(hqFiles_, row);
}

void StationScreen::rainFileClicked(int row) {
    state_.selectedRainFile = nameAt(rainFiles_, row);
    if (row < 0)
        return;
    if (state_.rainSelection.size() >= 3)
        state_.rainSelection.clear();
    state_.rainSelection.push_back(rainListDir_ / state_.selectedRainFile);
    state_.rainSelectionCurrent = static_cast<int>(state_.rainSelection.size()) - 1;
    showSelections();
    updateTableCommands();
}

void StationScreen::setRainSelectionCurrent(int index) {
    if (index < 0 || index >= static_cast<int>(state_.rainSelection.size()))
        return;
    state_.rainSelectionCurrent = index;
    selectRowQuietly(rainSelection_, index);
}

void StationScreen::setMonthIndex(int index) {
    if (index < 0 || index >= month_->count())
        return;
    month_->setCurrentIndex(index);
    state_.monthIndex = index;
}

void StationScreen::clearFlowSelection() {
    state_.flowSelection.clear();
    showSelections();
    emit tableCommandsEnabled(false);
}

void StationScreen::clearRainSelection() {
    state_.rainSelection.clear();
    state_.rainSelectionCurrent = -1;
    showSelections();
    emit tableCommandsEnabled(false);
}

void StationScreen::showSelections() {
    const auto show = [this](QListWidget* list, const std::vector<fs::path>& paths, int current) {
        const QSignalBlocker blocker(list);
        list->clear();
        for (const fs::path& path : paths)
            list->addItem(windowsPath(path));
        list->setCurrentRow(current);
    };
    show(flowSelection_, state_.flowSelection, state_.flowSelection.empty() ? -1 : 0);
    show(rainSelection_, state_.rainSelection, state_.rainSelectionCurrent);
}

// The basin tables need one flow file and three rainfall files; their commands follow the
// selection lists both ways, so an emptied or restarted list never leaves them enabled.
void StationScreen::updateTableCommands() {
    emit tableCommandsEnabled(state_.selectionComplete());
}

// ---- record commands

StationEntry StationScreen::entryFromBoxes() const {
    StationEntry entry;
    entry.stationNumber = stdText(stationNumber_->text());
    entry.riverName = stdText(riverName_->text());
    entry.stationName = stdText(stationName_->text());
    entry.regionName = stdText(region_->currentText());
    entry.openingDate = stdText(openingDate_->text());
    entry.elevation = stdText(elevation_->text());
    entry.drainageArea = stdText(drainageArea_->text());
    entry.thiessenArea = stdText(thiessenArea_->text());
    entry.coordinates = stdText(coordinates_->text());
    entry.note = stdText(note_->toPlainText());
    entry.phoneNumber = stdText(phoneNumber_->text());
    entry.dialPrefix = stdText(dialPrefix_->text());
    entry.modemHqFile = stdText(modemHqFile_->text());
    entry.basinName = stdText(basinName_->text());
    return entry;
}

void StationScreen::saveStationRecord() {
    const StationEntry entry = entryFromBoxes();
    if (const auto refusal = validateStationEntry(entry)) {
        showMessage(this, qText(*refusal));
        return;
    }
    if (savesOverRecordRead(entry)) {
        switch (recordStamp_.confirmSave(this)) {
        case SaveChoice::reload:
            changeDirectory(state_.stationDir);
            return;
        case SaveChoice::cancel:
            return;
        case SaveChoice::save:
            break;
        }
    }
    std::optional<std::string> typedPassword;
    if (asksForPassword(entry)) {
        if (const auto answer = askText(this, qText(kPasswordPrompt)))
            typedPassword = stdText(*answer);
    }
    const SaveStationResult result = saveStation(context_.paths, entry, typedPassword, state_.record);
    if (result.saved) {
        changeDirectory(result.stationDir);
        if (result.mapPointStored && result.mapPosition)
            map_->markPoint(result.mapPosition->x, result.mapPosition->y);
    }
    if (!result.message.empty())
        showMessage(this, qText(result.message));
}

bool StationScreen::savesOverRecordRead(const StationEntry& entry) const {
    if (!recordStamp_.changedOnDisk())
        return false;
    // The password plays no part in where the record goes.
    const StationRecord record = buildStationRecord(entry, std::nullopt, state_.record);
    std::error_code ec;
    return fs::equivalent(
        stationDirectory(context_.paths.dataRoot(), record.regionName, record.stationNumber),
        state_.stationDir, ec);
}

void StationScreen::newStationRecord() {
    for (QLineEdit* box :
         {stationNumber_, riverName_, stationName_, basinName_, openingDate_, elevation_, drainageArea_,
          thiessenArea_, coordinates_, phoneNumber_, dialPrefix_, modemHqFile_})
        box->clear();
    note_->clear();
    showRegion(QString());
    state_.record = StationRecord{};
    recordStamp_.remember(fs::path());
    setPasswordMask(false);
    listFlowFiles(context_.paths.driveRoot());
    listHqFiles(context_.paths.driveRoot());
}

void StationScreen::setPasswordMask(bool masked) {
    phoneNumber_->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    passwordButton_->setVisible(masked);
}

bool StationScreen::phoneNumberMasked() const {
    return phoneNumber_->echoMode() == QLineEdit::Password;
}

void StationScreen::askPassword() {
    if (!phoneNumberMasked())
        return;
    const auto answer = askText(this, kPasswordAskText);
    if (answer && trimmed(stdText(*answer)) == trimmed(state_.record.password))
        setPasswordMask(false);
}

void StationScreen::modemHqBoxDoubleClicked() {
    if (state_.selectedHqFile.empty())
        return;
    modemHqFile_->setText(windowsPath(hqListDir_) + QLatin1Char('\\') +
                          QString::fromStdString(state_.selectedHqFile));
}

bool StationScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == modemHqFile_ && event->type() == QEvent::MouseButtonDblClick)
        modemHqBoxDoubleClicked();
    return QWidget::eventFilter(watched, event);
}

// ---- map

fs::path StationScreen::mapFile() const {
    return context_.paths.dataRoot() / kStationMapFileName;
}

void StationScreen::markStations() {
    for (const MapPoint& point : readMapPoints(mapFile()))
        map_->markPoint(point.x, point.y);
    markButton_->hide();
}

void StationScreen::exportSeries() {
    if (state_.stationDir.empty() || trimmed(state_.record.stationNumber).empty()) {
        showMessage(this, QStringLiteral("Lütfen istasyon secimin yapınız"));
        return;
    }
    const QDate today = QDate::currentDate();
    int year = today.month() >= 10 ? today.year() + 1 : today.year();
    if (state_.selectedFlowFile.size() >= 4 && isNumericText(state_.selectedFlowFile.substr(0, 4)))
        year = static_cast<int>(numericValue(state_.selectedFlowFile.substr(0, 4)));
    SeriesExportDialog dialog(state_.stationDir, state_.record, year, this);
    dialog.exec();
}

void StationScreen::selectStationAt(int x, int y) {
    const auto point = findMapPoint(readMapPoints(mapFile()), x, y);
    if (point)
        changeDirectory(context_.paths.resolve(trimmed(point->stationDir)));
}

void StationScreen::showPosition(int x, int y) {
    longitudeLabel_->setText(longitudeLabelText(x, y));
    latitudeLabel_->setText(latitudeLabelText(x, y));
}

void StationScreen::screenActivated() {
    markButton_->show();
}

QString StationScreen::windowsPath(const fs::path& path) const {
    return QString::fromStdString(context_.paths.toWindows(path));
}

} // namespace korvel
