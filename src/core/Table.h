#pragma once

#include <string>
#include <vector>

namespace korvel {

// The model of a grid: rows x columns of cell texts, the fixed rows and columns, and the
// column widths and row heights in twips (15 twips make a pixel at 96 dpi).
class Table {
public:
    static constexpr int kDefaultColumnWidth = 960;
    static constexpr int kDefaultRowHeight = 240;

    Table() = default;
    Table(int rows, int columns, int fixedRows = 1, int fixedColumns = 1);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    int fixedRows() const { return fixedRows_; }
    int fixedColumns() const { return fixedColumns_; }

    // Changing the size keeps the cells that remain inside it.
    void resize(int rows, int columns);
    void setFixed(int fixedRows, int fixedColumns);

    // Cells outside the table read as empty; writes outside it are ignored.
    const std::string& cell(int row, int column) const;
    void setCell(int row, int column, std::string text);
    void clearCells();

    int columnWidth(int column) const;
    void setColumnWidth(int column, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);

    // Every cell followed by a tab, every row ended by CR LF: the copy command's text.
    std::string clipboardText() const;

    bool operator==(const Table&) const = default;

private:
    bool inside(int row, int column) const {
        return row >= 0 && column >= 0 && row < rows_ && column < columns_;
    }

    int rows_ = 0;
    int columns_ = 0;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    std::vector<std::string> cells_;
    std::vector<int> columnWidths_;
    std::vector<int> rowHeights_;
};

} // namespace korvel
