#pragma once

#include <QObject>

class QTableView;

namespace korvel {

// Keeps the fixed rows and columns of a grid in place while its cells scroll: three views of
// the same model lie over the grid's viewport (the fixed rows along the top, the fixed columns
// along the left, the corner where they meet) and follow its scrolling along their free axis.
// Mouse events pass through them to the grid.
class FixedPanes : public QObject {
    Q_OBJECT
public:
    explicit FixedPanes(QTableView* grid);

    // Called after the model, the fixed counts or any size changed.
    void update(int fixedRows, int fixedColumns);
    // Called when the grid's viewport moved or changed size.
    void place();

    // The height of the fixed rows and the width of the fixed columns, in pixels; 0 when the
    // grid has no such pane.
    int height() const { return topShown_ ? height_ : 0; }
    int width() const { return leftShown_ ? width_ : 0; }

private:
    QTableView* makePane();

    QTableView* grid_;
    QTableView* top_;
    QTableView* left_;
    QTableView* corner_;
    bool topShown_ = false;
    bool leftShown_ = false;
    int height_ = 0;
    int width_ = 0;
};

} // namespace korvel
