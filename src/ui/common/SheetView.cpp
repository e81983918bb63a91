#include "ui/common/SheetView.h"

#include "ui/common/GridView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <cmath>

namespace korvel {

bool setControlText(QWidget* screen, const QString& name, const QString& text) {
    if (screen == nullptr)
        return false;
    QWidget* control = screen->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->isEditable())
        combo->setEditText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else
        return false;
    return true;
}

QString controlText(const QWidget* screen, const QString& name) {
    if (screen == nullptr)
        return {};
    const QWidget* control = screen->findChild<const QWidget*>(name);
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* line = qobject_cast<const QLineEdit*>(control))
        return line->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(control))
        return rich->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return {};
}

void showSheet(QWidget* screen, const Sheet& sheet) {
    if (screen == nullptr)
        return;
    if (!sheet.caption.empty())
        screen->setWindowTitle(QString::fromStdString(sheet.caption));
    std::vector<GridView*> grids;
    for (const auto& [name, table] : sheet.tables()) {
        grids.push_back(screen->findChild<GridView*>(QString::fromStdString(name)));
        if (grids.back() != nullptr)
            grids.back()->setTable(table);
    }
    for (const auto& [name, text] : sheet.texts())
        setControlText(screen, QString::fromStdString(name), QString::fromStdString(text));
    lineUpGrids(sheet, grids);
}

void lineUpGrids(const Sheet& sheet, const std::vector<GridView*>& grids) {
    if (sheet.alignments().empty())
        return;
    std::vector<std::vector<double>> widths(grids.size());
    for (std::size_t i = 0; i < grids.size(); ++i)
        if (grids[i] != nullptr)
            for (int c = 0; c < grids[i]->table().columns(); ++c)
                widths[i].push_back(grids[i]->columnWidth(c));
    alignSheetColumns(sheet, widths);
    for (std::size_t i = 0; i < grids.size(); ++i)
        for (std::size_t c = 0; c < widths[i].size(); ++c)
            grids[i]->widenColumn(static_cast<int>(c), static_cast<int>(std::lround(widths[i][c])));
}

Sheet readSheet(const QWidget* screen, const Sheet& like) {
    Sheet sheet;
    if (screen == nullptr)
        return sheet;
    sheet.caption = screen->windowTitle().toStdString();
    for (const auto& [name, table] : like.tables())
        if (auto* grid = screen->findChild<const GridView*>(QString::fromStdString(name)))
            sheet.setTable(name, grid->table());
    for (const auto& [name, text] : like.texts()) {
        sheet.setText(name, controlText(screen, QString::fromStdString(name)).toStdString());
        if (const std::string label = like.label(name); !label.empty())
            sheet.setLabel(name, label);
    }
    for (const ColumnAlignment& a : like.alignments())
        sheet.alignColumns(a.spanning, a.spanned, a.spans);
    return sheet;
}

} // namespace korvel
