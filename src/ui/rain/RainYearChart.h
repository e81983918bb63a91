#pragma once

#include "core/Locale.h"
#include "rain/RainYearAnalysis.h"

#include <QDialog>

namespace korvel {

// The yearly rainfall chart of the analysis screen: the monthly totals in mm as bars, October
// first.
class RainYearChart : public QDialog {
    Q_OBJECT
public:
    RainYearChart(const RainYearAnalysis& analysis, const QString& title, QWidget* parent = nullptr);
};

} // namespace korvel
