#pragma once

#include "ui/journal/FileReadStamp.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <filesystem>
#include <memory>

class QMenu;

namespace korvel {

// Screen headers name the context only: the meta-object compiler cannot read the date header.
struct AppContext;
class DeferredCommand;
class GridView;

// The discharge measurement card of the current station (`OLCOKAYITKARTI`): the grid
// "MSFlexGrid1" shows record r of the card in row r and takes the card's keys; the save
// command writes the row holding the cursor, deferred through the one-shot timer "Timer1".
class MeasurementCardScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Ölçü kayıt kartı");

    MeasurementCardScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~MeasurementCardScreen() override;

    // The main window's menu "Ölçü kayıt kartı" while the card is the active window:
    // "Ölçü kayıt kartını kaydet" (`olcukkaydetn`, save()) and "Ölçü kayıt kartını kapat"
    // (`olcukakapat`, closeCard()).
    QMenu* windowMenu() const { return menu_; }

    // Fills the grid from the card file; a station without a card shows the headings only.
    void loadMeasurementCard();
    // The save command: arms the timer, whose handler runs saveMeasurementRow() once.
    void save();
    bool savePending() const;
    // Writes the row holding the cursor as its record. Cells that do not convert are stored
    // as 0 or the empty date and named in a message; a card that cannot be written is reported.
    void saveMeasurementRow();
    // Closes the card's window (its MDI sub-window when it has one).
    void closeCard();

    // The card of the station current when the card was loaded; empty without a station.
    const std::filesystem::path& cardPath() const { return cardPath_; }
    GridView* grid() const { return grid_; }

signals:
    void rowSaved(int row);

private:
    std::unique_ptr<const AppContext> context_;
    StationHub& hub_;
    std::filesystem::path cardPath_;
    FileReadStamp readStamp_;
    GridView* grid_;
    DeferredCommand* timer_;
    QMenu* menu_;
};

} // namespace korvel
