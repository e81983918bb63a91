#pragma once

#include "core/Table.h"
#include "ui/common/GridKeys.h"

#include <QTableView>

class QMenu;

namespace korvel {

class FixedPanes;
class TableModel;

// A grid cell position; -1 when no cell.
struct GridCell {
    int row = -1;
    int column = -1;
    bool operator==(const GridCell&) const = default;
};

// A rectangle of cells, corners included.
struct GridRange {
    int top = -1;
    int left = -1;
    int bottom = -1;
    int right = -1;
    bool operator==(const GridRange&) const = default;
};

// The table grid of the screens. It shows a `Table` whole, the fixed rows and columns included,
// with the column widths and row heights of the table. Typed keys edit the current cell through
// the grid's key filter; without one the grid takes no typing. The fixed rows and columns stay in
// place while the other cells scroll. A right button press pops up the grid's copy menu when it
// has one. No column is narrower than its widest cell text, so nothing is cut. Word wrap and the elide mode
// are taken over by the fixed panes at the next `setTable`.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    GridView(const QString& name, QWidget* parent);

    void setTable(const Table& table);
    const Table& table() const; // the shown table with every edit made in the grid
    std::string cell(int row, int column) const;
    void setCell(int row, int column, const std::string& text);

    // Widths and heights in twips; the table keeps them too.
    void setColumnWidthTwips(int column, int twips);
    void setRowHeightTwips(int row, int twips);
    // Shows the column at least `pixels` wide (a hidden column stays hidden); the table's
    // twips are left as they are.
    void widenColumn(int column, int pixels);

    void setKeyFilter(GridKeyFilter filter);

    // The current cell, which typing edits; fixed cells never become current.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);
    GridRange selectedRange() const; // the current cell alone when nothing larger is selected

    // The cells under the mouse at the last press and the last release.
    GridCell pressedCell() const { return pressed_; }
    GridCell releasedCell() const { return released_; }

    // The copy menu: one item captioned "kes" that copies the whole grid to the clipboard.
    QMenu* setCopyMenu(const QString& menuName, const QString& itemName);
    QMenu* copyMenu() const { return copyMenu_; }
    void copyToClipboard() const;

    // The cell shown at a point of the viewport, or no cell.
    GridCell cellAt(const QPoint& viewportPosition) const;
    QRect cellRect(int row, int column) const; // where the cell is shown, in viewport coordinates

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void cellPressed(int row, int column, Qt::MouseButton button);
    void cellReleased(int row, int column, Qt::MouseButton button);
    void cellDoubleClicked(int row, int column);
    void cellEdited(int row, int column);
    void selectionRangeChanged();
    void beeped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void updateGeometries() override;

private:
    // Columns are as wide as the table says and at least as wide as their widest text.
    void applySizes();
    int contentWidth(int column) const;
    void widenToContent(int column);
    void applyFixedColours();
    void moveAfterKey(GridMove move);
    void placeCursorAtStart();

    TableModel* model_;
    FixedPanes* panes_ = nullptr;
    GridKeyFilter keyFilter_;
    GridCell pressed_;
    GridCell released_;
    QMenu* copyMenu_ = nullptr;
};

// Sizes a grid to show all its columns and at most `visibleRows` rows (all when negative).
void fitGridToTable(GridView* grid, int visibleRows = -1);

} // namespace korvel
