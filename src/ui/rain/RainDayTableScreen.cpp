#include "ui/rain/RainDayTableScreen.h"

#include "platform/Dialogs.h"
#include "platform/HiddenWhile.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/ScreenWindow.h"
#include "ui/common/SheetView.h"
#include "ui/rain/RainKeyRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

QLineEdit* box(QWidget* parent, const char* name, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* push = new QPushButton(QString::fromUtf8(caption), parent);
    push->setObjectName(QString::fromLatin1(name));
    return push;
}

} // namespace

RainDayTableScreen::RainDayTableScreen(const AppContext& context, std::filesystem::path file,
                                       std::size_t dayRecordNumber, const RainDayRecord& dayBuffer,
                                       QWidget* parent)
    : QWidget(parent), context_(context), file_(std::move(file)), dayRecordNumber_(dayRecordNumber),
      dayBuffer_(dayBuffer), dateLabel_(new QLabel(this)), grid_(new GridView(kMinuteGridName, this)),
      fillValueBox_(box(this, kFillValueBoxName, 70)), countBox_(box(this, kSelectionCountBoxName, 70)),
      totalBox_(box(this, kDayTotalBoxName, 70)) {
    setObjectName(QStringLiteral("Gunluktablofrm"));
    addExportMenu(this, &context_.locale);
    dateLabel_->setObjectName(kDateLabelName);
    grid_->setMinimumSize(700, 420);
    grid_->setKeyFilter([](const GridKey& key) {
        return GridKeyResult{rainCellAfterKey(key.text, key.key).value_or(key.text)};
    });
    fillValueBox_->installEventFilter(this);

    QPushButton* fill = button(this, "Command1", "Hücreyi doldur");
    QPushButton* save = button(this, "Command2", "Kaydet");
    QPushButton* close = button(this, "Command3", "Kapat");

    auto* side = new QVBoxLayout;
    side->addWidget(fillValueBox_);
    side->addWidget(fill);
    side->addSpacing(12);
    side->addWidget(countBox_);
    side->addSpacing(12);
    side->addWidget(save);
    side->addWidget(totalBox_);
    side->addStretch(1);
    side->addWidget(close);

    auto* body = new QHBoxLayout;
    body->addWidget(grid_, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dateLabel_);
    layout->addLayout(body, 1);

    connect(fill, &QPushButton::clicked, this, [this] { fillCells(); });
    connect(save, &QPushButton::clicked, this, [this] { saveDay(); });
    connect(close, &QPushButton::clicked, this, [this] { closeScreenWindow(this); });
    connect(grid_, &GridView::cellPressed, this, &RainDayTableScreen::pressed);
    connect(grid_, &GridView::cellReleased, this,
            [this](int, int, Qt::MouseButton button) { released(button); });
    connect(grid_, &GridView::selectionRangeChanged, this, &RainDayTableScreen::selectionChanged);

    readStamp_.rememberRecord(file_, kRainDayRecordSize, dayRecordNumber_);
    showSheet(this, dailyRainSheet(dayBuffer_, context_.locale));
}

void RainDayTableScreen::readDayAgain() {
    if (const auto bytes = readStamp_.bytesOnDisk()) {
        RainDayRecord reread = parseRainDayRecord(*bytes);
        // The date stays as the analysis placed the day.
        reread.dayDate = dayBuffer_.dayDate;
        dayBuffer_ = reread;
    }
    readStamp_.rememberRecord(file_, kRainDayRecordSize, dayRecordNumber_);
    showSheet(this, dailyRainSheet(dayBuffer_, context_.locale));
    emit daySaved(dailyTotalTenths(dayBuffer_));
}

int RainDayTableScreen::fillCells() {
    if (selection_.selStartCol == 0 || selection_.selStartRow == 0)
        return 0;
    int filled = 0;
    {
        const HiddenWhile hidden({grid_});
        Table table = grid_->table();
        filled = fillMinuteCells(table, selection_, fillValueBox_->text().toStdString());
        grid_->setTable(table);
        countBox_->clear();
    }
    return filled;
}

bool RainDayTableScreen::saveDay() {
    switch (readStamp_.confirmSave(this)) {
    case SaveChoice::reload:
        readDayAgain();
        return false;
    case SaveChoice::cancel:
        return false;
    case SaveChoice::save:
        break;
    }
    RainDaySave save;
    {
        const HiddenWhile hidden({grid_});
        save = saveRainDay(file_, dayRecordNumber_, dayBuffer_, grid_->table(), context_.locale);
    }
    if (!save.ok()) {
        showMessage(this, QString::fromStdString(*save.error));
        return false;
    }
    dayBuffer_ = *save.record;
    readStamp_.rememberRecord(file_, kRainDayRecordSize, dayRecordNumber_);
    totalBox_->setText(save.dayTenths == 0
                           ? QString()
                           : QString::fromStdString(context_.locale.numberText(save.dayTenths / 10.0)));
    emit daySaved(save.dayTenths);
    return true;
}

void RainDayTableScreen::pressed(int row, int column, Qt::MouseButton) {
    selection_.selStartRow = std::max(row, 0);
    selection_.selStartCol = std::max(column, 0);
    countBox_->setText(QStringLiteral("1"));
}

void RainDayTableScreen::released(Qt::MouseButton) {
    selection_.selEndRow = std::max(grid_->currentRow(), 0);
    selection_.selEndCol = std::max(grid_->currentColumn(), 0);
}

void RainDayTableScreen::selectionChanged() {
    // Only a drag that began on a value cell is counted.
    if (grid_->currentRow() < 0 || selection_.selStartRow == 0 || selection_.selStartCol == 0)
        return;
    const int count = selectionCellCount(selection_.selStartRow, selection_.selStartCol, grid_->currentRow(),
                                         grid_->currentColumn());
    countBox_->setText(QString::number(count));
}

bool RainDayTableScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fillValueBox_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            fillValueBox_->clear();
            return true;
        }
        if (event->type() == QEvent::KeyPress)
            return fillBoxKey(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool RainDayTableScreen::fillBoxKey(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Backspace)
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const char32_t typed = text.toUcs4().value(0);
    if (typed < 32 || typed == 127)
        return false;
    const std::optional<char32_t> received = fillValueBoxReceives(typed);
    if (received)
        fillValueBox_->insert(QString::fromUcs4(&*received, 1));
    return true;
}

} // namespace korvel
