#pragma once

#include "core/KeyFilters.h"
#include "ui/common/GridKeys.h"
#include "ui/common/GridView.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/QtText.h"
#include "ui/station/CurrentStation.h"

#include <QString>
#include <string_view>

class QLabel;
class QWidget;

namespace korvel {

class GridView;

// The opening conditions of the flow screens, each showing its message when not met.
inline const QString kSelectFlowFileMessage = QStringLiteral("Lütfen su yılı dosyası seciniz");
inline const QString kSelectStationForSheetMessage =
    QStringLiteral("Lütfen istasyon secimini yapınız yada yeniden oluşturunuz");
inline const QString kSelectStationForHqMessage = QStringLiteral("Lütfen istasyon secimin yapınız");

// A water-year file is selected in the station screen's flow list.
bool requireFlowFile(const CurrentStation& station, QWidget* messageParent);
// The station record has a station number.
bool requireStationNumber(const CurrentStation& station, QWidget* messageParent, const QString& message);

// A grid key filter made of one of the editing rules of the key filters.
using CellKeyRule = KeyOutcome (*)(std::string_view, char32_t, CellPosition);
GridKeyFilter gridKeyFilter(CellKeyRule rule);

// A smaller, condensed font for grids whose columns are only a few digits wide.
void useCompactFont(GridView* grid);

// A grid the user only reads: no cell is highlighted, on the screen or on paper.
void makeReadOnly(GridView* grid);

} // namespace korvel
