#include "ui/common/GridView.h"

#include "platform/Clipboard.h"
#include "ui/common/TableModel.h"
#include "ui/common/Twips.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

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

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent), model_(new TableModel(this)) {
    setModel(model_);
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
    setColumnWidth(column, twipsToPixels(twips));
}

void GridView::setRowHeightTwips(int row, int twips) {
    Table table = model_->table();
    table.setRowHeight(row, twips);
    model_->setTable(table);
    setRowHeight(row, twipsToPixels(twips));
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
    const int row = rowAt(viewportPosition.y());
    const int column = columnAt(viewportPosition.x());
    if (row < 0 || column < 0)
        return {};
    return {row, column};
}

QRect GridView::cellRect(int row, int column) const {
    return visualRect(model_->index(row, column));
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
    QTableView::mousePressEvent(event);
    emit cellPressed(pressed_.row, pressed_.column, event->button());
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    released_ = cellAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    emit cellReleased(released_.row, released_.column, event->button());
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const GridCell cell = cellAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit cellDoubleClicked(cell.row, cell.column);
}

void GridView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyFixedColours();
}

void GridView::applySizes() {
    const Table& table = model_->table();
    for (int column = 0; column < table.columns(); ++column)
        setColumnWidth(column, twipsToPixels(table.columnWidth(column)));
    for (int row = 0; row < table.rows(); ++row)
        setRowHeight(row, twipsToPixels(table.rowHeight(row)));
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

} // namespace korvel
