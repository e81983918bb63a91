#include "ui/flow/HqTableScreen.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "flow/HqTableEdit.h"
#include "flow/HqTableSheet.h"
#include "platform/Dialogs.h"
#include "platform/HiddenWhile.h"
#include "ui/common/DeferredCommand.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <stdexcept>

namespace korvel {

namespace {

QLineEdit* namedBox(const QString& name, QWidget* parent, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    return box;
}

} // namespace

HqTableScreen* HqTableScreen::open(const AppContext& context, StationHub& hub, QWidget* parent) {
    if (!requireStationNumber(hub.current(), parent, kSelectStationForHqMessage))
        return nullptr;
    return new HqTableScreen(context, hub, parent);
}

HqTableScreen::HqTableScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(kFormName);
    addExportMenu(this, &context_.locale);
    setWindowTitle(QStringLiteral("HQ anahtar degerleri"));

    grid_ = new GridView("table", this);
    grid_->setKeyFilter(gridKeyFilter(&hqTableKey));
    periods_ = new GridView("periods", this);
    periods_->setKeyFilter(gridKeyFilter(&hqPeriodKey));
    useCompactFont(grid_);
    useCompactFont(periods_);
    enteredBy_ = namedBox("enteredBy", this, static_cast<int>(HqTable::kEnteredByWidth));
    createdOn_ = namedBox("createdOn", this, 19);
    remarks_ = namedBox("remarks", this, static_cast<int>(HqTable::kRemarksWidth));
    files_ = new QListWidget(this);
    files_->setObjectName("File1");
    files_->setFixedHeight(110);
    fill_ = new DeferredCommand(this, "Timer1", [this] { fillGapsNow(); });
    save_ = new DeferredCommand(this, "Timer2", [this] { saveNow(); });

    auto* header = new QVBoxLayout;
    for (const char* name : {"institute", "stationNumber", "region", "river", "stationName", "area",
                             "elevation", "coordinates", "fileName"})
        header->addWidget(namedLabel(name, this));
    header->addSpacing(6);
    header->addWidget(files_);
    header->addWidget(new QLabel(QStringLiteral("Kullanım tarihleri"), this));
    header->addWidget(periods_);
    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("Anahtar tablosunu giren"), this), 0, 0);
    boxes->addWidget(enteredBy_, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Oluşturma tarihi"), this), 1, 0);
    boxes->addWidget(createdOn_, 1, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Düşünceler"), this), 2, 0);
    boxes->addWidget(remarks_, 2, 1);
    header->addLayout(boxes);
    header->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(grid_, 1);

    connect(files_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openTable(item->text()); });

    listTables();
    showSheet(this, hqTableSheet(HqTable{}, std::string(), hub_.current().record, context_.locale));
    const QString selected = qText(hub_.current().selectedHqFile);
    if (!selected.isEmpty())
        openTable(selected);
    fitGridToTable(grid_, 30);
    fitGridToTable(periods_);
}

void HqTableScreen::listTables() {
    files_->clear();
    for (const std::string& name : listFiles(hub_.current().stationDir, "*.HQ"))
        files_->addItem(qText(name));
}

QString HqTableScreen::openedFile() const {
    return file_.empty() ? QString() : qText(file_.filename().string());
}

void HqTableScreen::openTable(const QString& fileName) {
    const auto found = files_->findItems(fileName, Qt::MatchFixedString);
    if (found.isEmpty())
        return;
    files_->setCurrentItem(found.front());
    const std::string name = found.front()->text().toStdString();
    hub_.selectHqFile(name);
    file_ = resolveCaseInsensitive(hub_.current().stationDir / name);
    readStamp_.remember(file_);
    table_ = readHqTable(file_);
    const HiddenWhile hidden({grid_, periods_});
    showSheet(this, hqTableSheet(table_, name, hub_.current().record, context_.locale));
}

void HqTableScreen::newTable() {
    const CurrentStation& station = hub_.current();
    std::vector<std::string> names;
    for (int i = 0; i < files_->count(); ++i)
        names.push_back(files_->item(i)->text().toStdString());
    if (!names.empty())
        files_->setCurrentRow(files_->count() - 1);
    QString proposal = qText(proposeNextTableNumber(names));
    for (;;) {
        const auto answer =
            askText(this, QStringLiteral("Lütfen oluşturulacak HQ tablo nosunu giriniz"), proposal);
        if (!answer || !isNumericText(answer->toStdString()))
            return;
        const auto number = roundToInt64(numericValue(answer->toStdString()));
        try {
            if (!number || *number < 0 || *number > 99)
                throw std::invalid_argument("range");
            const auto created =
                createHqTable(station.stationDir, static_cast<int>(*number), station.record.stationNumber);
            hub_.refreshFileLists();
            listTables();
            openTable(qText(created.filename().string()));
            return;
        } catch (const HqTableNumberInUse&) {
            showMessage(
                this, QStringLiteral("%1 nolu HQ tablosu zaten var; o tablo değiştirilmedi. Lütfen başka bir "
                                     "tablo no giriniz.")
                          .arg(qText(hqNumberText(static_cast<int>(*number)))));
            proposal = qText(proposeNextTableNumber(names));
        } catch (const std::invalid_argument&) {
            showMessage(this, QStringLiteral("HQ tablo no 0 ile 99 arasında olmalıdır."));
        } catch (const FileError& error) {
            showMessage(this, QStringLiteral("HQ tablosu oluşturulamadı: ") + qText(error.what()));
            return;
        }
    }
}

void HqTableScreen::fillGaps() {
    fill_->arm();
}

void HqTableScreen::save() {
    save_->arm();
}

void HqTableScreen::fillGapsNow() {
    Table table = grid_->table();
    HqGridReading reading = hqCellsOfGrid(table, context_.locale);
    if (!reading.unreadable.empty()) {
        showMessage(this, qText(unreadableCellsMessage(reading.unreadable, table)));
        return;
    }
    const auto filled = korvel::fillGaps(reading.cells, table_.keyFlags);
    showHqCells(table, reading.cells, filled, context_.locale);
    grid_->setTable(table);
}

bool HqTableScreen::saveNow() {
    if (file_.empty())
        return false;
    const HiddenWhile hidden({grid_, periods_});
    const Table& table = grid_->table();
    const HqGridReading reading = hqCellsOfGrid(table, context_.locale);
    if (!reading.unreadable.empty()) {
        showMessage(this, qText(unreadableCellsMessage(reading.unreadable, table)));
        return false;
    }
    if (const auto message = unreadablePeriodsMessage(periods_->table(), context_.locale)) {
        showMessage(this, qText(*message));
        return false;
    }
    HqTable updated = table_;
    applyGridToTable(updated, reading.cells, hqPeriodsOfGrid(periods_->table(), context_.locale),
                     enteredBy_->text().toStdString(),
                     context_.locale.parseDateTime(createdOn_->text().toStdString()),
                     remarks_->text().toStdString());
    switch (readStamp_.confirmSave(this)) {
    case SaveChoice::reload:
        openTable(openedFile());
        return false;
    case SaveChoice::cancel:
        return false;
    case SaveChoice::save:
        break;
    }
    try {
        writeHqTable(file_, updated);
        readStamp_.remember(file_);
    } catch (const FileError& error) {
        showMessage(this, QStringLiteral("HQ tablosu kaydedilemedi: ") + qText(error.what()));
        return false;
    }
    table_ = updated;
    return true;
}

} // namespace korvel
