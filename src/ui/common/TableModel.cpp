#include "ui/common/TableModel.h"

namespace korvel {

TableModel::TableModel(QObject* parent)
    : QAbstractTableModel(parent), fixedBackground_(Qt::lightGray), fixedText_(Qt::black) {}

void TableModel::setTable(const Table& table) {
    const bool sameShape = table.rows() == table_.rows() && table.columns() == table_.columns() &&
                           table.fixedRows() == table_.fixedRows() &&
                           table.fixedColumns() == table_.fixedColumns();
    if (!sameShape) {
        beginResetModel();
        table_ = table;
        endResetModel();
        return;
    }
    table_ = table;
    if (table_.rows() > 0 && table_.columns() > 0)
        emit dataChanged(index(0, 0), index(table_.rows() - 1, table_.columns() - 1));
}

void TableModel::setCell(int row, int column, const std::string& text) {
    if (row < 0 || column < 0 || row >= table_.rows() || column >= table_.columns())
        return;
    if (table_.cell(row, column) == text)
        return;
    table_.setCell(row, column, text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

bool TableModel::isFixed(int row, int column) const {
    return row < table_.fixedRows() || column < table_.fixedColumns();
}

void TableModel::setFixedColours(const QBrush& background, const QBrush& text) {
    fixedBackground_ = background;
    fixedText_ = text;
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rows();
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columns();
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(table_.cell(index.row(), index.column()));
    case Qt::BackgroundRole:
        return isFixed(index.row(), index.column()) ? QVariant(fixedBackground_) : QVariant();
    case Qt::ForegroundRole:
        return isFixed(index.row(), index.column()) ? QVariant(fixedText_) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || isFixed(index.row(), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace korvel
