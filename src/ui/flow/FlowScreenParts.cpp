#include "ui/flow/FlowScreenParts.h"

#include "core/Cp1254.h"
#include "platform/Dialogs.h"
#include "ui/common/GridView.h"
#include "ui/common/KeyOutcomeFilter.h"

#include <QFont>
#include <QLabel>
#include <QScrollBar>

namespace korvel {

bool requireFlowFile(const CurrentStation& station, QWidget* messageParent) {
    if (!station.selectedFlowFile.empty())
        return true;
    showMessage(messageParent, kSelectFlowFileMessage);
    return false;
}

bool requireStationNumber(const CurrentStation& station, QWidget* messageParent, const QString& message) {
    if (!trimmed(station.record.stationNumber).empty())
        return true;
    showMessage(messageParent, message);
    return false;
}

GridKeyFilter gridKeyFilter(CellKeyRule rule) {
    return keyOutcomeFilter(rule);
}

void useCompactFont(GridView* grid) {
    QFont font = grid->font();
    font.setPixelSize(10);
    font.setStretch(QFont::Condensed);
    grid->setFont(font);
}

void makeReadOnly(GridView* grid) {
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
}

} // namespace korvel
