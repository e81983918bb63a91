#pragma once

#include "rain/DailyRainTable.h"
#include "store/RainYearFile.h"
#include "ui/common/AppContext.h"

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
class Gunluktablofrm : public QWidget {
    Q_OBJECT
public:
    Gunluktablofrm(const AppContext& context, std::filesystem::path file, std::size_t dayRecordNumber,
                   const RainDayRecord& dayBuffer, QWidget* parent = nullptr);

    const std::filesystem::path& file() const { return file_; }
    std::size_t dayRecordNumber() const { return dayRecordNumber_; }
    const RainDayRecord& dayBuffer() const { return dayBuffer_; }
    const MinuteSelection& selection() const { return selection_; }

    // "Hücreyi doldur": fills the dragged block with the fill box's value; the cells set.
    int fillCells();
    // "Kaydet": writes the whole day as its record; a refused value is shown in a message box
    // naming the cell, and nothing is written. True when the day was written.
    bool saveDay();

signals:
    // The day was written: its new total in tenths of a millimetre.
    void daySaved(int dayTenths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(int row, int column, Qt::MouseButton button);
    void released(Qt::MouseButton button);
    void selectionChanged();
    bool fillBoxKey(QKeyEvent* event);

    const AppContext& context_;
    std::filesystem::path file_;
    std::size_t dayRecordNumber_;
    RainDayRecord dayBuffer_;
    MinuteSelection selection_;

    QLabel* dateLabel_;
    GridView* grid_;
    QLineEdit* fillValueBox_;
    QLineEdit* countBox_;
    QLineEdit* totalBox_;
};

} // namespace korvel
