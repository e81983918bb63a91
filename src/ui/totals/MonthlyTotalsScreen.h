#pragma once

#include "ui/station/CurrentStation.h"

#include <QDate>
#include <QWidget>
#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;

namespace korvel {

struct AppContext;
class GridView;

// The water year built from monthly totals (`debiden`): the year box "Text1", the grid
// "MSFlexGrid1" of the twelve monthly volumes and the buttons "Kaydet" (Command1), "Yeni su
// yılı" (Command2) and "Çıkış" (Command3).
class MonthlyTotalsScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption =
        QStringLiteral("Su yıllığının aylık toplam akımlardan elde edilmesi.");

    MonthlyTotalsScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~MonthlyTotalsScreen() override;

    // "Kaydet": checks the boxes and writes the year, telling the user the outcome. Over a file
    // holding measured days it asks first, naming how many.
    void buildYearFromMonthlyTotals();
    // "Yeni su yılı": the next year in the box (today's year when it is empty), the grid cleared.
    void newWaterYear();
    // "Çıkış": closes the window (its MDI sub-window when it has one).
    void closeScreen();

    // Today's date as the "Yeni su yılı" button sees it; tests set a fixed day.
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

    GridView* grid() const { return grid_; }
    QLineEdit* yearBox() const { return yearBox_; }

signals:
    void yearWritten(const QString& file);

private:
    std::unique_ptr<const AppContext> context_;
    StationHub& hub_;
    QLineEdit* yearBox_;
    GridView* grid_;
    std::function<QDate()> today_;
};

} // namespace korvel
