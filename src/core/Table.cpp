#include "core/Table.h"

#include <algorithm>

namespace korvel {

namespace {
const std::string kEmpty;
}

Table::Table(int rows, int columns, int fixedRows, int fixedColumns) {
    resize(rows, columns);
    setFixed(fixedRows, fixedColumns);
}

void Table::resize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(columns, columns_); ++c)
            cells[static_cast<std::size_t>(r * columns + c)] =
                std::move(cells_[static_cast<std::size_t>(r * columns_ + c)]);
    cells_ = std::move(cells);
    columnWidths_.resize(static_cast<std::size_t>(columns), kDefaultColumnWidth);
    rowHeights_.resize(static_cast<std::size_t>(rows), kDefaultRowHeight);
    rows_ = rows;
    columns_ = columns;
    setFixed(fixedRows_, fixedColumns_);
}

void Table::setFixed(int fixedRows, int fixedColumns) {
    fixedRows_ = std::clamp(fixedRows, 0, rows_);
    fixedColumns_ = std::clamp(fixedColumns, 0, columns_);
}

const std::string& Table::cell(int row, int column) const {
    return inside(row, column) ? cells_[static_cast<std::size_t>(row * columns_ + column)] : kEmpty;
}

void Table::setCell(int row, int column, std::string text) {
    if (inside(row, column))
        cells_[static_cast<std::size_t>(row * columns_ + column)] = std::move(text);
}

void Table::clearCells() {
    for (auto& c : cells_)
        c.clear();
}

int Table::columnWidth(int column) const {
    return column >= 0 && column < columns_ ? columnWidths_[static_cast<std::size_t>(column)] : 0;
}

void Table::setColumnWidth(int column, int twips) {
    if (column >= 0 && column < columns_)
        columnWidths_[static_cast<std::size_t>(column)] = twips;
}

int Table::rowHeight(int row) const {
    return row >= 0 && row < rows_ ? rowHeights_[static_cast<std::size_t>(row)] : 0;
}

void Table::setRowHeight(int row, int twips) {
    if (row >= 0 && row < rows_)
        rowHeights_[static_cast<std::size_t>(row)] = twips;
}

std::string Table::clipboardText() const {
    std::string text;
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            text += cell(r, c);
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

} // namespace korvel
