#pragma once

#include "core/Sheet.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/journal/FileReadStamp.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>

class QComboBox;
class QListWidget;
class QPrinter;
class QPushButton;

namespace korvel {

class GridView;

// The level observation sheet "seviyegozlemfrm" ("Seviye gözlem cetveli (Eşel)"): the staff
// readings of 08:00 and 16:00 of one month typed in, the daily means computed (double click
// on row 1 of the mean column) and the month saved into the water-year file.
//
// The main window's menu "Seviye gözlem çetveli" calls addWaterYear() ("yenisuyılekle"),
// save() ("sevgozkaydet"), print() ("sevgozyazdır") and closes the screen ("sevgozkapat").
// Open it through open(), which checks that a station is selected.
class LevelSheetScreen : public QWidget, public PrintedWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("seviyegozlemfrm");

    // Shows "Lütfen istasyon secimini yapınız yada yeniden oluşturunuz" and gives nothing when
    // no station is selected.
    static LevelSheetScreen* open(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    LevelSheetScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // The month or file chosen here goes to the station screen too; the month is shown again
    // and unsaved changes are dropped.
    void selectMonth(int monthIndex);
    void selectFile(const QString& fileName);
    void showMonth();
    // Writes the month's days typed over that have a morning reading, asking before logger
    // days are replaced; returns how many records changed.
    int save();
    // "Yeni su yılı ekle": asks for the year (proposing the one after the last file) and
    // creates its file unless it exists.
    void addWaterYear();
    // Prints the sheet without the month drop-down and the file list.
    bool print();
    bool print(QPrinter& printer);
    bool printOn(QPrinter& printer) override { return print(printer); }
    // "En Üstteki iledoldur": the pressed cell's text into the rectangle up to the released one.
    void fillPressedBlock();
    // Double click on row 1: column 3 computes the means, column 1 or 2 fills down.
    void rowOneDoubleClicked(int column);

    QString selectedFile() const;

private:
    void listFiles();

    const AppContext& context_;
    StationHub& hub_;
    QComboBox* months_;
    QListWidget* files_;
    QPushButton* fillButton_;
    GridView* grid_;
    FileReadStamp readStamp_;
};

} // namespace korvel
