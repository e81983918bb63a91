#pragma once

#include "core/Locale.h"
#include "store/StationRecord.h"

#include <QDialog>
#include <filesystem>

class QComboBox;
class QDateEdit;
class QLineEdit;

namespace korvel {

// "Dışa aktar": the daily series of the station (levels with their extremes, discharge, the
// source of each day and the rating table used) over any span of days, written as CSV or as
// WaterML 2.0.
class SeriesExportDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("disaaktarfrm");

    // `waterYear` is the year whose days the span starts with.
    SeriesExportDialog(std::filesystem::path stationDir, StationRecord station, int waterYear,
                       QWidget* parent = nullptr);

    // Writes the file with the choices shown; false when it was refused or failed.
    bool exportSeries();

private:
    std::filesystem::path stationDir_;
    StationRecord station_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* format_;
    QLineEdit* file_;
};

} // namespace korvel
