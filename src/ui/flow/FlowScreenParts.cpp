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

void fitGridToTable(GridView* grid, int visibleRows) {
    const Table& table = grid->table();
    int width = 2 * grid->frameWidth();
    for (int c = 0; c < table.columns(); ++c)
        width += grid->columnWidth(c);
    const int rows = visibleRows < 0 ? table.rows() : std::min(visibleRows, table.rows());
    int height = 2 * grid->frameWidth();
    for (int r = 0; r < rows; ++r)
        height += grid->rowHeight(r);
    if (rows < table.rows()) {
        width += grid->verticalScrollBar()->sizeHint().width();
        grid->setFixedWidth(width);
        grid->setMinimumHeight(height);
    } else {
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setFixedSize(width, height);
    }
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
