#pragma once

#include "journal/ChangeJournal.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>

class QTableWidget;
class QPushButton;

namespace korvel {

// "Değişiklik geçmişi": the journaled changes of the current station's files, newest first;
// the records of the selected change before and after it, as the tables show them; and
// "Geri al", which takes back the selected change and every later change of its file.
class ChangeHistoryScreen : public QWidget {
    Q_OBJECT
public:
    ChangeHistoryScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // Reads the journal of the current station again.
    void refresh();
    // Selects the entry with this number; false when the list has none.
    bool selectEntry(long long id);
    // "Geri al" on the selected entry.
    void undoSelected();

private:
    void showRecords();
    const JournalEntry* selected() const;

    const AppContext& context_;
    StationHub& hub_;
    std::filesystem::path dir_;
    std::vector<JournalEntry> entries_;
    QTableWidget* entryGrid_;
    QTableWidget* recordGrid_;
    QPushButton* undoButton_;
};

} // namespace korvel
