#pragma once

#include "core/Table.h"

#include <QAbstractTableModel>
#include <QBrush>

namespace korvel {

// Item model over a `Table`: cell texts for display, fixed rows and columns drawn with the
// fixed-cell colours and not selectable.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject* parent = nullptr);

    const Table& table() const { return table_; }
    // Same size: the cells are refreshed in place. Another size resets the model.
    void setTable(const Table& table);
    void setCell(int row, int column, const std::string& text);
    bool isFixed(int row, int column) const;

    void setFixedColours(const QBrush& background, const QBrush& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Table table_;
    QBrush fixedBackground_;
    QBrush fixedText_;
};

} // namespace korvel
