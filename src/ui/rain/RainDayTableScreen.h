#pragma once

#include "rain/DailyRainTable.h"
#include "store/RainYearFile.h"
#include "ui/common/AppContext.h"
#include "ui/journal/FileReadStamp.h"

#include <QWidget>
#include <filesystem>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel {

class GridView;

// The daily rainfall interpretation table ("Gunluktablofrm"): one day of a rainfall-year file as
// an hour-by-minute grid, corrected by typing into cells or by filling a dragged block with the
// value of the fill box, and saved back into the day's record of the analysed file.
class RainDayTableScreen : public QWidget {
    Q_OBJECT
public:
    RainDayTableScreen(const AppContext& context, std::filesystem::path file, std::size_t dayRecordNumber,
                       const RainDayRecord& dayBuffer, QWidget* parent = nullptr);

    const std::filesystem::path& file() const { return file_; }
    std::size_t dayRecordNumber() const { return dayRecordNumber_; }
    const RainDayRecord& dayBuffer() const { return dayBuffer_; }
    const MinuteSelection& selection() const { return selection_; }

    // "Hücreyi doldur": fills the dragged block with the fill box's value; the cells set.
    int fillCells();
    // "Kaydet": writes the whole day as its record; a refused value is shown in a message box
    // naming the cell, and nothing is written. A day someone else changed in the file since the
    // table read it is not written over without asking; "read again" shows the day as the file
    // holds it now. True when the day was written.
    bool saveDay();

signals:
    // The day's total changed, saved or read again from the file: in tenths of a millimetre.
    void daySaved(int dayTenths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readDayAgain();
    void pressed(int row, int column, Qt::MouseButton button);
    void released(Qt::MouseButton button);
    void selectionChanged();
    bool fillBoxKey(QKeyEvent* event);

    const AppContext& context_;
    std::filesystem::path file_;
    std::size_t dayRecordNumber_;
    RainDayRecord dayBuffer_;
    MinuteSelection selection_;
    FileReadStamp readStamp_;

    QLabel* dateLabel_;
    GridView* grid_;
    QLineEdit* fillValueBox_;
    QLineEdit* countBox_;
    QLineEdit* totalBox_;
};

} // namespace korvel
