#pragma once

#include "store/HqTable.h"
#include "ui/common/AppContext.h"
#include "ui/journal/FileReadStamp.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <filesystem>

class QLineEdit;
class QListWidget;

namespace korvel {

class DeferredCommand;
class GridView;

// The rating table screen "hqanahtarfrm" ("HQ anahtar degerleri"): one table of the station
// as 99 x 10 cells of discharges by level, its validity periods and three boxes; the user
// keys values, fills the gaps between them and saves the table.
//
// The main window's menu "HQ anahtar değerleri" calls newTable() ("hqyeni"), fillGaps()
// ("hqtabloboluktam") and save() ("hqkaydetn"), and closes the screen ("hqkapatn"). Fill and
// save only arm the screen's one-shot timers "Timer1" and "Timer2", so that the menu closes
// first. Open it through open(), which checks that a station is selected.
class HqTableScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("hqanahtarfrm");

    // Shows "Lütfen istasyon secimin yapınız" and gives nothing when no station is selected.
    static HqTableScreen* open(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    HqTableScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // File1_DblClick: the station screen selects the file too, and the table is shown.
    void openTable(const QString& fileName);
    // "Yeni HQ tablosu oluştur": asks for the number (proposing the one after the last table),
    // creates the empty table and opens it. A number in use is refused with a message and
    // asked for again; the existing table stays as it is.
    void newTable();
    // Deferred: arm the timers.
    void fillGaps();
    void save();
    // The work of the timers.
    void fillGapsNow();
    bool saveNow();

    DeferredCommand* fillCommand() const { return fill_; }
    DeferredCommand* saveCommand() const { return save_; }
    QString openedFile() const;
    const HqTable& table() const { return table_; }

private:
    void listTables();

    const AppContext& context_;
    StationHub& hub_;
    GridView* grid_;
    GridView* periods_;
    QLineEdit* enteredBy_;
    QLineEdit* createdOn_;
    QLineEdit* remarks_;
    QListWidget* files_;
    DeferredCommand* fill_;
    DeferredCommand* save_;
    HqTable table_;
    std::filesystem::path file_;
    FileReadStamp readStamp_;
};

} // namespace korvel
