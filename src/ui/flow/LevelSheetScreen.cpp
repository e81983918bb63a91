#include "ui/flow/LevelSheetScreen.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/OleDate.h"
#include "core/Paths.h"
#include "flow/GridEdits.h"
#include "flow/LevelSheet.h"
#include "platform/Dialogs.h"
#include "platform/HiddenWhile.h"
#include "platform/Printing.h"
#include "store/StationLists.h"
#include "store/WaterYearFile.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/flow/FlowScreenParts.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace korvel {

LevelSheetScreen* LevelSheetScreen::open(const AppContext& context, StationHub& hub, QWidget* parent) {
    if (!requireStationNumber(hub.current(), parent, kSelectStationForSheetMessage))
        return nullptr;
    return new LevelSheetScreen(context, hub, parent);
}

LevelSheetScreen::LevelSheetScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Seviye gözlem cetveli (Eşel)"));

    months_ = new QComboBox(this);
    months_->setObjectName("Combo1");
    for (const std::string_view item : kMonthList)
        months_->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    files_ = new QListWidget(this);
    files_->setObjectName("File1");
    files_->setFixedWidth(150);
    fillButton_ = new QPushButton(QStringLiteral("En Üstteki iledoldur"), this);
    fillButton_->setObjectName("Command1");
    grid_ = new GridView(qText(kLevelGridName), this);
    grid_->setKeyFilter(gridKeyFilter(&levelSheetKey));
    useCompactFont(grid_);

    auto* header = new QVBoxLayout;
    for (int i = 1; i <= 8; ++i)
        header->addWidget(namedLabel(QStringLiteral("Label%1").arg(i), this));
    header->addSpacing(8);
    header->addWidget(namedLabel("Label9", this));
    header->addStretch();

    auto* side = new QVBoxLayout;
    side->addWidget(months_);
    side->addWidget(files_, 1);
    side->addWidget(fillButton_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(grid_);
    layout->addLayout(side);

    connect(months_, &QComboBox::activated, this, &LevelSheetScreen::selectMonth);
    connect(files_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { selectFile(item->text()); });
    connect(fillButton_, &QPushButton::clicked, this, &LevelSheetScreen::fillPressedBlock);
    connect(grid_, &GridView::cellDoubleClicked, this, [this](int row, int column) {
        if (row == 1)
            rowOneDoubleClicked(column);
    });

    const CurrentStation& station = hub_.current();
    months_->setCurrentIndex(station.monthIndex % 12);
    listFiles();
    QString selected = qText(station.selectedFlowFile);
    const auto found = files_->findItems(selected, Qt::MatchExactly);
    if (found.isEmpty() && files_->count() > 0) {
        selected = files_->item(files_->count() - 1)->text();
        hub_.selectFlowFile(selected.toStdString());
    }
    for (QListWidgetItem* item : files_->findItems(selected, Qt::MatchExactly))
        files_->setCurrentItem(item);
    showMonth();
    fitGridToTable(grid_);
}

void LevelSheetScreen::listFiles() {
    files_->clear();
    for (const std::string& name : korvel::listFiles(hub_.current().stationDir, "*.ard"))
        files_->addItem(qText(name));
}

QString LevelSheetScreen::selectedFile() const {
    return files_->currentItem() != nullptr ? files_->currentItem()->text() : QString();
}

void LevelSheetScreen::selectMonth(int monthIndex) {
    if (months_->currentIndex() != monthIndex)
        months_->setCurrentIndex(monthIndex);
    hub_.setMonthIndex(monthIndex);
    showMonth();
}

void LevelSheetScreen::selectFile(const QString& fileName) {
    const auto found = files_->findItems(fileName, Qt::MatchExactly);
    if (found.isEmpty())
        return;
    files_->setCurrentItem(found.front());
    hub_.selectFlowFile(fileName.toStdString());
    showMonth();
}

void LevelSheetScreen::showMonth() {
    const CurrentStation& station = hub_.current();
    const QString file = selectedFile();
    const int monthIndex = months_->currentIndex();
    if (file.isEmpty() || monthIndex < 0)
        return;
    const auto path = resolveCaseInsensitive(station.stationDir / file.toStdString());
    readStamp_.remember(path);
    const auto records = readWaterYearFile(path);
    showSheet(this, levelSheet(records, station.record, file.toStdString(), monthIndex, context_.locale));
}

int LevelSheetScreen::save() {
    const QString file = selectedFile();
    if (file.isEmpty() || months_->currentIndex() < 0)
        return 0;
    switch (readStamp_.confirmSave(this)) {
    case SaveChoice::reload:
        showMonth();
        return 0;
    case SaveChoice::cancel:
        return 0;
    case SaveChoice::save:
        break;
    }
    const HiddenWhile hidden({grid_});
    Table table = grid_->table();
    std::size_t written = 0;
    const auto replaceLoggerDays = [this](std::size_t days) {
        return askYesNo(this, QStringLiteral("Yazılan eşel okumaları limnigraftan gelen %1 günün yerine "
                                             "kaydedilecek; bu günlerin limnigraf değerleri silinecek. "
                                             "Değiştirilsin mi? (Hayır: limnigraf günleri korunur)")
                                  .arg(days));
    };
    try {
        written = saveLevelSheet(resolveCaseInsensitive(hub_.current().stationDir / file.toStdString()),
                                 table, replaceLoggerDays);
        readStamp_.remember(resolveCaseInsensitive(hub_.current().stationDir / file.toStdString()));
    } catch (const FileError& error) {
        showMessage(this, QStringLiteral("Seviye gözlem çetveli kaydedilemedi: ") + qText(error.what()));
    }
    grid_->setTable(table);
    return static_cast<int>(written);
}

void LevelSheetScreen::addWaterYear() {
    const CurrentStation& station = hub_.current();
    QString proposal = QString::number(QDate::currentDate().year());
    if (files_->count() > 0) {
        files_->setCurrentRow(files_->count() - 1);
        proposal =
            qText(generalNumber(numericValue(utf8Left(files_->currentItem()->text().toStdString(), 4)) + 1));
    }
    const auto answer = askText(this, QStringLiteral("Lütfen oluşturulacak su yılını giriniz"), proposal);
    if (!answer || !isNumericText(answer->toStdString()))
        return;
    const auto year = roundToInt64(numericValue(answer->toStdString()));
    if (!year || *year < 1 || *year > 9999)
        return;
    try {
        if (createWaterYear(station.stationDir, static_cast<int>(*year), station.record.stationNumber)
                .alreadyExisted)
            return;
    } catch (const std::invalid_argument&) {
        return;
    } catch (const FileError& error) {
        showMessage(this, QStringLiteral("Su yılı dosyası oluşturulamadı: ") + qText(error.what()));
        return;
    }
    hub_.refreshFileLists();
    listFiles();
    if (files_->count() > 0)
        selectFile(files_->item(files_->count() - 1)->text());
}

bool LevelSheetScreen::print() {
    return print(applicationPrinter());
}

bool LevelSheetScreen::print(QPrinter& printer) {
    return printWindowWithout(this, {months_, files_}, printer);
}

void LevelSheetScreen::fillPressedBlock() {
    Table table = grid_->table();
    const GridCell pressed = grid_->pressedCell();
    const GridCell released = grid_->releasedCell();
    if (fillBlock(table, {pressed.row, pressed.column}, {released.row, released.column}))
        grid_->setTable(table);
}

void LevelSheetScreen::rowOneDoubleClicked(int column) {
    if (column < 1 || column > 3)
        return;
    const HiddenWhile hidden({grid_});
    Table table = grid_->table();
    if (column == 3)
        computeDailyMeans(table);
    else
        fillDown(table, column);
    grid_->setTable(table);
}

} // namespace korvel
