#include "ui/common/GridView.h"

#include "platform/Clipboard.h"
#include "ui/common/FixedPanes.h"
#include "ui/common/TableModel.h"
#include "ui/common/Twips.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace korvel {

namespace {

// The character code of a key event, or 0 for a key that types nothing.
int characterCode(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Backspace:
        return kKeyBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    const char32_t code = text.toUcs4().value(0);
    return code >= 32 && code != 127 ? static_cast<int>(code) : 0;
}

// The index of the section that holds `position` when sections of `sizes` lie side by side from 0.
template <typename SizeOf> int sectionAt(int position, int count, SizeOf sizeOf) {
    int start = 0;
    for (int section = 0; section < count; ++section) {
        const int size = sizeOf(section);
        if (position >= start && position < start + size)
            return section;
        start += size;
    }
    return -1;
}

template <typename SizeOf> int sectionStart(int section, SizeOf sizeOf) {
    int start = 0;
    for (int before = 0; before < section; ++before)
        start += sizeOf(before);
    return start;
}

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent), model_(new TableModel(this)) {
    setModel(model_);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    panes_ = new FixedPanes(this);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setTabKeyNavigation(false);
    applyFixedColours();
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                for (int column = topLeft.column(); column <= bottomRight.column(); ++column)
                    widenToContent(column);
            });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &GridView::selectionRangeChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &GridView::selectionRangeChanged);
}

GridView::GridView(const QString& name, QWidget* parent) : GridView(parent) {
    setObjectName(name);
}

void GridView::setTable(const Table& table) {
    const bool reshaped = table.rows() != model_->table().rows() ||
                          table.columns() != model_->table().columns() ||
                          table.fixedRows() != model_->table().fixedRows() ||
                          table.fixedColumns() != model_->table().fixedColumns();
    model_->setTable(table);
    applySizes();
    if (reshaped || !currentIndex().isValid())
        placeCursorAtStart();
}

const Table& GridView::table() const {
    return model_->table();
}

std::string GridView::cell(int row, int column) const {
    return model_->table().cell(row, column);
}

void GridView::setCell(int row, int column, const std::string& text) {
    model_->setCell(row, column, text);
}

void GridView::setColumnWidthTwips(int column, int twips) {
    Table table = model_->table();
    table.setColumnWidth(column, twips);
    model_->setTable(table);
    applySizes();
}

void GridView::setRowHeightTwips(int row, int twips) {
    Table table = model_->table();
    table.setRowHeight(row, twips);
    model_->setTable(table);
    applySizes();
}

void GridView::setKeyFilter(GridKeyFilter filter) {
    keyFilter_ = std::move(filter);
}

int GridView::currentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

int GridView::currentColumn() const {
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void GridView::setCurrentCell(int row, int column) {
    if (row < 0 || column < 0 || row >= model_->rowCount() || column >= model_->columnCount())
        return;
    if (model_->isFixed(row, column))
        return;
    setCurrentIndex(model_->index(row, column));
}

GridRange GridView::selectedRange() const {
    GridRange range;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) {
        if (range.top < 0) {
            range = {index.row(), index.column(), index.row(), index.column()};
            continue;
        }
        range.top = std::min(range.top, index.row());
        range.left = std::min(range.left, index.column());
        range.bottom = std::max(range.bottom, index.row());
        range.right = std::max(range.right, index.column());
    }
    if (range.top < 0 && currentIndex().isValid())
        range = {currentRow(), currentColumn(), currentRow(), currentColumn()};
    return range;
}

QMenu* GridView::setCopyMenu(const QString& menuName, const QString& itemName) {
    delete copyMenu_;
    copyMenu_ = new QMenu(this);
    copyMenu_->setObjectName(menuName);
    QAction* copy = copyMenu_->addAction(QStringLiteral("kes"));
    copy->setObjectName(itemName);
    connect(copy, &QAction::triggered, this, &GridView::copyToClipboard);
    return copyMenu_;
}

void GridView::copyToClipboard() const {
    copyGridToClipboard(model_->table());
}

GridCell GridView::cellAt(const QPoint& viewportPosition) const {
    const Table& table = model_->table();
    const int x = viewportPosition.x();
    const int y = viewportPosition.y();
    const int row = y < panes_->height()
                        ? sectionAt(y, table.fixedRows(), [this](int r) { return rowHeight(r); })
                        : rowAt(y);
    const int column = x < panes_->width()
                           ? sectionAt(x, table.fixedColumns(), [this](int c) { return columnWidth(c); })
                           : columnAt(x);
    if (row < 0 || column < 0)
        return {};
    return {row, column};
}

QRect GridView::cellRect(int row, int column) const {
    QRect rect = visualRect(model_->index(row, column));
    if (rect.isNull())
        return rect;
    if (panes_->height() > 0 && row < model_->table().fixedRows())
        rect.moveTop(sectionStart(row, [this](int r) { return rowHeight(r); }));
    if (panes_->width() > 0 && column < model_->table().fixedColumns())
        rect.moveLeft(sectionStart(column, [this](int c) { return columnWidth(c); }));
    return rect;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!index.isValid() || model_->isFixed(index.row(), index.column()))
        return;
    const QRect rect = visualRect(index);
    if (rect.top() < panes_->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (panes_->height() - rect.top()));
    if (rect.left() < panes_->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (panes_->width() - rect.left()));
}

void GridView::keyPressEvent(QKeyEvent* event) {
    const int key = characterCode(event);
    if (key == 0 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    const int row = currentRow();
    const int column = currentColumn();
    if (!keyFilter_ || row < 0 || column < 0)
        return;

    const GridKeyResult result = keyFilter_(GridKey{row, column, model_->table().cell(row, column), key});
    if (result.text != model_->table().cell(row, column)) {
        model_->setCell(row, column, result.text);
        emit cellEdited(row, column);
    }
    if (result.beep) {
        QApplication::beep();
        emit beeped();
    }
    moveAfterKey(result.move);
}

// The right button has shown the copy menu already; the menu key shows it too. Either way the
// window around the grid gets no context menu of its own.
void GridView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard && copyMenu_ != nullptr)
        copyMenu_->popup(event->globalPos());
}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    pressed_ = cellAt(position);
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit cellPressed(pressed_.row, pressed_.column, event->button());
        if (copyMenu_ != nullptr)
            copyMenu_->popup(event->globalPosition().toPoint());
        return;
    }
    // Fixed cells never become current, and under the fixed panes lie cells scrolled out of sight.
    if (pressed_.row < 0 || !model_->isFixed(pressed_.row, pressed_.column))
        QTableView::mousePressEvent(event);
    emit cellPressed(pressed_.row, pressed_.column, event->button());
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    // A drag into the fixed panes extends the selection to the first cells beside them.
    const QPoint position = event->position().toPoint();
    const QPoint clamped(std::max(position.x(), panes_->width()), std::max(position.y(), panes_->height()));
    if (clamped == position) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    QMouseEvent moved(event->type(), QPointF(clamped), event->globalPosition(), event->button(),
                      event->buttons(), event->modifiers());
    QTableView::mouseMoveEvent(&moved);
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    released_ = cellAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    emit cellReleased(released_.row, released_.column, event->button());
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const GridCell cell = cellAt(event->position().toPoint());
    if (cell.row < 0 || !model_->isFixed(cell.row, cell.column))
        QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit cellDoubleClicked(cell.row, cell.column);
}

void GridView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyFixedColours();
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    if (panes_ != nullptr)
        panes_->place();
}

int GridView::contentWidth(int column) const {
    const Table& table = model_->table();
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int row = 0; row < table.rows(); ++row) {
        const std::string& text = table.cell(row, column);
        if (!text.empty())
            for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n')))
                widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    if (widest == 0)
        return 0;
    // The item delegate keeps a margin on both sides of the text, and the grid line takes a pixel.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return widest + 2 * margin + 1;
}

void GridView::widenColumn(int column, int pixels) {
    if (columnWidth(column) == 0 || pixels <= columnWidth(column))
        return;
    setColumnWidth(column, pixels);
    panes_->update(model_->table().fixedRows(), model_->table().fixedColumns());
}

void GridView::widenToContent(int column) {
    // A column of width 0 is hidden on purpose and stays so.
    if (columnWidth(column) == 0)
        return;
    const int needed = contentWidth(column);
    if (needed > columnWidth(column))
        setColumnWidth(column, needed);
}

void GridView::applySizes() {
    const Table& table = model_->table();
    for (int column = 0; column < table.columns(); ++column) {
        const int given = twipsToPixels(table.columnWidth(column));
        setColumnWidth(column, given == 0 ? 0 : std::max(given, contentWidth(column)));
    }
    for (int row = 0; row < table.rows(); ++row)
        setRowHeight(row, twipsToPixels(table.rowHeight(row)));
    panes_->update(table.fixedRows(), table.fixedColumns());
}

void GridView::applyFixedColours() {
    model_->setFixedColours(palette().button(), palette().buttonText());
    viewport()->update();
}

void GridView::moveAfterKey(GridMove move) {
    int row = currentRow();
    int column = currentColumn();
    switch (move) {
    case GridMove::None:
        return;
    case GridMove::NextRow:
        if (row + 1 < model_->rowCount())
            ++row;
        break;
    case GridMove::NextColumn:
        if (column + 1 < model_->columnCount())
            ++column;
        break;
    case GridMove::RowStart:
        column = model_->table().fixedColumns();
        break;
    }
    setCurrentCell(row, column);
    scrollTo(currentIndex());
}

void GridView::placeCursorAtStart() {
    const Table& table = model_->table();
    if (table.fixedRows() < table.rows() && table.fixedColumns() < table.columns())
        setCurrentCell(table.fixedRows(), table.fixedColumns());
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

} // namespace korvel
