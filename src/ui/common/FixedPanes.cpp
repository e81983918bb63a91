#include "ui/common/FixedPanes.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace korvel {

FixedPanes::FixedPanes(QTableView* grid)
    : QObject(grid), grid_(grid), top_(makePane()), left_(makePane()), corner_(makePane()) {
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, top_->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, left_->verticalScrollBar(),
            &QScrollBar::setValue);
}

QTableView* FixedPanes::makePane() {
    auto* pane = new QTableView(grid_);
    pane->setModel(grid_->model());
    pane->horizontalHeader()->hide();
    pane->verticalHeader()->hide();
    for (QHeaderView* header : {pane->horizontalHeader(), pane->verticalHeader()}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    pane->setFrameShape(QFrame::NoFrame);
    pane->setFocusPolicy(Qt::NoFocus);
    pane->setSelectionMode(QAbstractItemView::NoSelection);
    pane->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    pane->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    pane->setAttribute(Qt::WA_TransparentForMouseEvents);
    pane->hide();
    return pane;
}

void FixedPanes::update(int fixedRows, int fixedColumns) {
    const int rows = grid_->model()->rowCount();
    const int columns = grid_->model()->columnCount();
    topShown_ = fixedRows > 0 && fixedRows < rows;
    leftShown_ = fixedColumns > 0 && fixedColumns < columns;

    height_ = 0;
    for (int row = 0; row < fixedRows && row < rows; ++row)
        height_ += grid_->rowHeight(row);
    width_ = 0;
    for (int column = 0; column < fixedColumns && column < columns; ++column)
        width_ += grid_->columnWidth(column);

    for (QTableView* pane : {top_, left_, corner_}) {
        pane->setWordWrap(grid_->wordWrap());
        pane->setTextElideMode(grid_->textElideMode());
        pane->setShowGrid(grid_->showGrid());
        for (int column = 0; column < columns; ++column)
            pane->setColumnWidth(column, grid_->columnWidth(column));
        for (int row = 0; row < rows; ++row)
            pane->setRowHeight(row, grid_->rowHeight(row));
    }
    top_->setVisible(topShown_);
    left_->setVisible(leftShown_);
    corner_->setVisible(topShown_ && leftShown_);
    place();
}

void FixedPanes::place() {
    const QRect viewport = grid_->viewport()->geometry();
    top_->setGeometry(viewport.x(), viewport.y(), viewport.width(), std::min(height_, viewport.height()));
    left_->setGeometry(viewport.x(), viewport.y(), std::min(width_, viewport.width()), viewport.height());
    corner_->setGeometry(viewport.x(), viewport.y(), std::min(width_, viewport.width()),
                         std::min(height_, viewport.height()));
    top_->horizontalScrollBar()->setValue(grid_->horizontalScrollBar()->value());
    left_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->value());
    left_->raise();
    top_->raise();
    corner_->raise();
}

} // namespace korvel
