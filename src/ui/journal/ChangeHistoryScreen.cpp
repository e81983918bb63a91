#include "ui/journal/ChangeHistoryScreen.h"

#include "journal/ChangeUndo.h"
#include "platform/Dialogs.h"
#include "ui/journal/RecordView.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvel {

namespace {

QTableWidget* grid(const char* name, const QStringList& headings, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

QString recordList(const JournalEntry& entry) {
    if (entry.recordNumbers.empty())
        return entry.sizeBefore ? QString() : QStringLiteral("yeni dosya");
    if (entry.recordSize == 0)
        return QStringLiteral("tüm dosya");
    QStringList parts;
    const auto& numbers = entry.recordNumbers;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        parts.append(j > i ? QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j])
                           : QString::number(numbers[i]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString stateText(const JournalEntry& entry) {
    if (entry.undoneBy)
        return QStringLiteral("geri alındı (%1)").arg(*entry.undoneBy);
    return entry.sizeAfter ? QString() : QStringLiteral("silindi");
}

} // namespace

ChangeHistoryScreen::ChangeHistoryScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setWindowTitle(QStringLiteral("Değişiklik geçmişi"));
    auto* layout = new QVBoxLayout(this);
    entryGrid_ = grid("MSFlexGrid1",
                      {QStringLiteral("No"), QStringLiteral("Zaman"), QStringLiteral("Kullanıcı"),
                       QStringLiteral("Komut"), QStringLiteral("Dosya"), QStringLiteral("Kayıtlar"),
                       QStringLiteral("Durum")},
                      this);
    recordGrid_ = grid("MSFlexGrid2", recordViewHeadings(), this);
    undoButton_ = new QPushButton(QStringLiteral("Geri al"), this);
    undoButton_->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(entryGrid_, 3);
    layout->addWidget(new QLabel(QStringLiteral("Seçilen değişiklikten önce ve sonra:"), this));
    layout->addWidget(recordGrid_, 2);
    layout->addWidget(undoButton_);
    connect(entryGrid_, &QTableWidget::itemSelectionChanged, this, [this] { showRecords(); });
    connect(undoButton_, &QPushButton::clicked, this, [this] { undoSelected(); });
    resize(900, 600);
    refresh();
}

void ChangeHistoryScreen::refresh() {
    dir_ = hub_.current().stationDir;
    entries_.clear();
    try {
        if (!dir_.empty() && ChangeJournal::existsIn(dir_))
            for (JournalEntry& entry : ChangeJournal(dir_, ChangeJournal::Access::read).entries())
                if (entry.state == ChangeState::done)
                    entries_.push_back(std::move(entry));
    } catch (const JournalError& e) {
        showMessage(this, QString::fromStdString(e.what()));
    }
    entryGrid_->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        const JournalEntry& entry = entries_[static_cast<std::size_t>(row)];
        setRow(entryGrid_, row,
               {QString::number(entry.id), QString::fromStdString(journalTimeText(entry.time)),
                QString::fromStdString(entry.user), QString::fromStdString(entry.command),
                QString::fromStdString(entry.file), recordList(entry), stateText(entry)});
    }
    entryGrid_->resizeColumnsToContents();
    recordGrid_->setRowCount(0);
    undoButton_->setEnabled(false);
}

bool ChangeHistoryScreen::selectEntry(long long id) {
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row)
        if (entries_[static_cast<std::size_t>(row)].id == id) {
            entryGrid_->selectRow(row);
            return true;
        }
    return false;
}

const JournalEntry* ChangeHistoryScreen::selected() const {
    const int row = entryGrid_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()) || entryGrid_->selectedItems().isEmpty())
        return nullptr;
    return &entries_[static_cast<std::size_t>(row)];
}

void ChangeHistoryScreen::showRecords() {
    const JournalEntry* entry = selected();
    recordGrid_->setRowCount(0);
    undoButton_->setEnabled(entry != nullptr && !entry->undoneBy);
    if (entry == nullptr)
        return;
    std::vector<RecordChange> records;
    try {
        records = ChangeJournal(dir_, ChangeJournal::Access::read).records(entry->id);
    } catch (const JournalError& e) {
        showMessage(this, QString::fromStdString(e.what()));
        return;
    }
    const std::vector<QStringList> rows = recordViewRows(*entry, records, context_.locale);
    recordGrid_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        setRow(recordGrid_, row, rows[static_cast<std::size_t>(row)]);
    recordGrid_->resizeColumnsToContents();
}

void ChangeHistoryScreen::undoSelected() {
    const JournalEntry* entry = selected();
    if (entry == nullptr)
        return;
    const long long id = entry->id;
    const QString question =
        QStringLiteral(
            "%1 numaralı değişiklik ve %2 dosyasının ondan sonraki bütün değişiklikleri geri alınsın mı?")
            .arg(id)
            .arg(QString::fromStdString(entry->file));
    if (!askYesNo(this, question))
        return;
    try {
        const UndoOutcome outcome =
            undoChange(dir_, id, {systemUserName(), "Değişiklik geçmişi: geri al " + std::to_string(id)});
        hub_.refreshFileLists();
        refresh();
        selectEntry(outcome.entry);
    } catch (const std::exception& e) {
        showMessage(this, QStringLiteral("Geri alınamadı: %1").arg(QString::fromStdString(e.what())));
    }
}

} // namespace korvel
