#include "ui/common/GridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using korvel::GridCell;
using korvel::GridKey;
using korvel::GridKeyResult;
using korvel::GridMove;
using korvel::GridRange;
using korvel::GridView;
using korvel::Table;

namespace {

// 5 rows x 4 columns, one fixed row and column; headings in row 0 and column 0.
Table sampleTable() {
    Table table(5, 4, 1, 1);
    table.setCell(0, 1, "H");
    table.setCell(0, 2, "Q");
    table.setCell(0, 3, "not");
    for (int row = 1; row < 5; ++row)
        table.setCell(row, 0, std::to_string(row));
    table.setCell(1, 1, "12");
    table.setColumnWidth(0, 300);
    table.setColumnWidth(1, 750);
    table.setRowHeight(0, 450);
    return table;
}

// Digits and "." are appended, "," is entered as ".", backspace removes the last character,
// Enter moves down; a cell of 4 characters refuses more with a beep.
GridKeyResult numberFilter(const GridKey& key) {
    GridKeyResult result{key.text, false, GridMove::None};
    if (key.key == korvel::kKeyBackspace) {
        if (!result.text.empty())
            result.text.pop_back();
    } else if (key.key == korvel::kKeyEnter) {
        result.move = GridMove::NextRow;
    } else if (key.key == ',' || key.key == '.' || (key.key >= '0' && key.key <= '9')) {
        if (result.text.size() >= 4)
            result.beep = true;
        else
            result.text += key.key == ',' ? '.' : static_cast<char>(key.key);
    }
    return result;
}

} // namespace

class GridViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        grid_ = std::make_unique<GridView>("MSFlexGrid1", nullptr);
        grid_->resize(400, 300);
        grid_->setTable(sampleTable());
        grid_->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid_.get()));
    }
    void cleanup() { grid_.reset(); }

    void showsTheWholeTableWithItsSizesInPixels() {
        QCOMPARE(grid_->objectName(), QString("MSFlexGrid1"));
        QCOMPARE(grid_->model()->rowCount(), 5);
        QCOMPARE(grid_->model()->columnCount(), 4);
        QCOMPARE(grid_->model()->index(0, 2).data().toString(), QString("Q"));
        QCOMPARE(grid_->model()->index(1, 1).data().toString(), QString("12"));
        QCOMPARE(grid_->columnWidth(0), 20);
        QCOMPARE(grid_->columnWidth(1), 50);
        QCOMPARE(grid_->columnWidth(2), 64); // 960 twips
        QCOMPARE(grid_->rowHeight(0), 30);
        QCOMPARE(grid_->rowHeight(1), 16); // 240 twips
        QVERIFY(grid_->horizontalHeader()->isHidden());
        QVERIFY(grid_->verticalHeader()->isHidden());
    }

    // A number wider than the column's given width widens the column instead of being cut; so do
    // a heading and a later edit. A hidden column stays hidden.
    void noColumnIsNarrowerThanItsText() {
        Table table = sampleTable();
        table.setCell(2, 1, "12372,45");
        table.setCell(0, 2, "Aritmetik ortalama");
        table.setCell(3, 3, "1539,73");
        table.setColumnWidth(3, 0);
        grid_->setTable(table);
        const QFontMetrics metrics(grid_->font());
        QVERIFY(grid_->columnWidth(1) > metrics.horizontalAdvance("12372,45"));
        QVERIFY(grid_->columnWidth(2) > metrics.horizontalAdvance("Aritmetik ortalama"));
        QCOMPARE(grid_->columnWidth(0), 20);
        QCOMPARE(grid_->columnWidth(3), 0);

        grid_->setCell(4, 2, "123456789012345678901234567890");
        QVERIFY(grid_->columnWidth(2) > metrics.horizontalAdvance("123456789012345678901234567890"));
    }

    void fixedCellsLookFixedAndNeverBecomeCurrent() {
        const QModelIndex fixed = grid_->model()->index(0, 1);
        const QModelIndex plain = grid_->model()->index(2, 2);
        QCOMPARE(fixed.data(Qt::BackgroundRole).value<QBrush>().color(), grid_->palette().button().color());
        QVERIFY(!plain.data(Qt::BackgroundRole).isValid());
        QVERIFY(!(grid_->model()->flags(fixed) & Qt::ItemIsSelectable));

        QCOMPARE(grid_->currentRow(), 1);
        QCOMPARE(grid_->currentColumn(), 1);
        grid_->setCurrentCell(0, 2);
        QCOMPARE(grid_->currentRow(), 1);
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->cellRect(3, 0).center());
        QCOMPARE(grid_->currentRow(), 1);
        QCOMPARE(grid_->pressedCell(), (GridCell{3, 0}));
    }

    void typedKeysEditTheCurrentCellThroughTheFilter() {
        grid_->setKeyFilter(numberFilter);
        QSignalSpy edited(grid_.get(), &GridView::cellEdited);
        grid_->setCurrentCell(2, 2);
        QTest::keyClicks(grid_.get(), "1,2x5");
        QCOMPARE(grid_->cell(2, 2), std::string("1.25"));
        QCOMPARE(edited.count(), 4);

        QSignalSpy beeps(grid_.get(), &GridView::beeped);
        QTest::keyClick(grid_.get(), Qt::Key_7);
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(grid_->cell(2, 2), std::string("1.25"));

        QTest::keyClick(grid_.get(), Qt::Key_Backspace);
        QCOMPARE(grid_->cell(2, 2), std::string("1.2"));
        QTest::keyClick(grid_.get(), Qt::Key_Return);
        QCOMPARE(grid_->currentRow(), 3);
        QCOMPARE(grid_->currentColumn(), 2);
        QCOMPARE(grid_->table().cell(2, 2), std::string("1.2"));
        QCOMPARE(grid_->model()->index(2, 2).data().toString(), QString("1.2"));
    }

    void theFilterSeesTheCellAndTheCharacterCode() {
        GridKey seen;
        grid_->setKeyFilter([&seen](const GridKey& key) {
            seen = key;
            return GridKeyResult{key.text, false, GridMove::None};
        });
        grid_->setCurrentCell(1, 1);
        QTest::keyClick(grid_.get(), Qt::Key_Enter);
        QCOMPARE(seen.row, 1);
        QCOMPARE(seen.column, 1);
        QCOMPARE(seen.text, std::string("12"));
        QCOMPARE(seen.key, static_cast<int>(korvel::kKeyEnter));
        QKeyEvent turkishS(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ş"));
        QApplication::sendEvent(grid_.get(), &turkishS);
        QCOMPARE(seen.key, 0x15F);
    }

    void movesStopAtTheEdgesAndRowStartSkipsFixedColumns() {
        GridMove move = GridMove::NextColumn;
        grid_->setKeyFilter([&move](const GridKey& key) { return GridKeyResult{key.text, false, move}; });
        grid_->setCurrentCell(4, 2);
        QTest::keyClick(grid_.get(), Qt::Key_Return);
        QCOMPARE(grid_->currentColumn(), 3);
        QTest::keyClick(grid_.get(), Qt::Key_Return);
        QCOMPARE(grid_->currentColumn(), 3);
        move = GridMove::NextRow;
        QTest::keyClick(grid_.get(), Qt::Key_Return);
        QCOMPARE(grid_->currentRow(), 4);
        move = GridMove::RowStart;
        QTest::keyClick(grid_.get(), Qt::Key_Return);
        QCOMPARE(grid_->currentRow(), 4);
        QCOMPARE(grid_->currentColumn(), 1);
    }

    void withoutAFilterTypingChangesNothingButArrowsMove() {
        grid_->setCurrentCell(1, 1);
        QTest::keyClicks(grid_.get(), "99");
        QTest::keyClick(grid_.get(), Qt::Key_Backspace);
        QCOMPARE(grid_->cell(1, 1), std::string("12"));
        QTest::keyClick(grid_.get(), Qt::Key_Down);
        QCOMPARE(grid_->currentRow(), 2);
        QTest::keyClick(grid_.get(), Qt::Key_Up);
        QTest::keyClick(grid_.get(), Qt::Key_Up);
        QCOMPARE(grid_->currentRow(), 1);
    }

    void pressAndReleaseCellsAreRemembered() {
        QSignalSpy pressed(grid_.get(), &GridView::cellPressed);
        QSignalSpy released(grid_.get(), &GridView::cellReleased);
        QTest::mousePress(grid_->viewport(), Qt::LeftButton, {}, grid_->cellRect(2, 1).center());
        QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, {}, grid_->cellRect(3, 2).center());
        QCOMPARE(grid_->pressedCell(), (GridCell{2, 1}));
        QCOMPARE(grid_->releasedCell(), (GridCell{3, 2}));
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).toInt(), 2);
        QCOMPARE(released.at(0).at(1).toInt(), 2);
        QCOMPARE(grid_->currentRow(), 2);
        QCOMPARE(grid_->currentColumn(), 1);

        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, QPoint(395, 290));
        QCOMPARE(grid_->pressedCell(), GridCell{});
    }

    void selectedRangeCoversTheSelection() {
        grid_->setCurrentCell(2, 1);
        QCOMPARE(grid_->selectedRange(), (GridRange{2, 1, 2, 1}));
        auto* model = grid_->model();
        grid_->selectionModel()->select(QItemSelection(model->index(1, 1), model->index(3, 2)),
                                        QItemSelectionModel::ClearAndSelect);
        QCOMPARE(grid_->selectedRange(), (GridRange{1, 1, 3, 2}));
    }

    void doubleClickNamesTheCell() {
        QSignalSpy doubleClicked(grid_.get(), &GridView::cellDoubleClicked);
        QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, grid_->cellRect(0, 3).center());
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.at(0).at(0).toInt(), 0);
        QCOMPARE(doubleClicked.at(0).at(1).toInt(), 3);
    }

    void rightPressPopsUpTheKesMenuWhichCopiesTheEditedGrid() {
        QMenu* menu = grid_->setCopyMenu("kesmen8", "kes8");
        grid_->setKeyFilter(numberFilter);
        grid_->setCurrentCell(4, 3);
        QTest::keyClicks(grid_.get(), "7");

        QTest::mousePress(grid_->viewport(), Qt::RightButton, {}, grid_->cellRect(2, 2).center());
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->objectName(), QString("kesmen8"));
        QCOMPARE(menu->actions().size(), 1);
        QAction* kes = menu->actions().constFirst();
        QCOMPARE(kes->text(), QString("kes"));
        QCOMPARE(kes->objectName(), QString("kes8"));
        QCOMPARE(grid_->currentRow(), 4); // a right press does not move the cursor

        QApplication::clipboard()->clear();
        kes->trigger();
        menu->close();
        Table expected = sampleTable();
        expected.setCell(4, 3, "7");
        QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(expected.clipboardText()));
        QVERIFY(QApplication::clipboard()->text().startsWith("\tH\tQ\tnot\t\r\n1\t12\t"));
    }

    void rightPressWithoutAMenuDoesNothing() {
        QCOMPARE(grid_->copyMenu(), nullptr);
        QTest::mousePress(grid_->viewport(), Qt::RightButton, {}, grid_->cellRect(2, 2).center());
        QCOMPARE(grid_->pressedCell(), (GridCell{2, 2}));
        QCOMPARE(grid_->currentRow(), 1);
    }

    void refillingTheSameShapeKeepsTheCursor() {
        grid_->setCurrentCell(3, 2);
        Table refilled = sampleTable();
        refilled.setCell(3, 2, "new");
        grid_->setTable(refilled);
        QCOMPARE(grid_->currentRow(), 3);
        QCOMPARE(grid_->currentColumn(), 2);
        QCOMPARE(grid_->model()->index(3, 2).data().toString(), QString("new"));

        grid_->setTable(Table(3, 3, 1, 0));
        QCOMPARE(grid_->currentRow(), 1);
        QCOMPARE(grid_->currentColumn(), 0);
        QCOMPARE(grid_->model()->rowCount(), 3);
    }

    void sizesSetOnTheGridAreKeptInTheTable() {
        grid_->setColumnWidthTwips(2, 1500);
        grid_->setRowHeightTwips(3, 0);
        QCOMPARE(grid_->columnWidth(2), 100);
        QCOMPARE(grid_->rowHeight(3), 0);
        QCOMPARE(grid_->table().columnWidth(2), 1500);
        QCOMPARE(grid_->table().rowHeight(3), 0);
    }

    void fixedRowsAndColumnsStayInPlaceWhileCellsScroll() {
        Table tall(61, 25, 1, 1);
        for (int column = 1; column < 25; ++column)
            tall.setCell(0, column, std::to_string(column));
        for (int row = 1; row < 61; ++row)
            tall.setCell(row, 0, std::to_string(row));
        grid_->setTable(tall);
        QVERIFY(grid_->rowHeight(0) == 16 && grid_->columnWidth(0) == 64);

        grid_->setCurrentCell(60, 24);
        QVERIFY(grid_->verticalScrollBar()->value() > 0);
        QVERIFY(grid_->horizontalScrollBar()->value() > 0);
        QCOMPARE(grid_->cellAt(QPoint(70, 5)).row, 0);
        QCOMPARE(grid_->cellAt(QPoint(5, 100)).column, 0);
        QCOMPARE(grid_->cellAt(QPoint(5, 5)), (GridCell{0, 0}));
        QCOMPARE(grid_->cellRect(0, 0).topLeft(), QPoint(0, 0));
        QVERIFY(grid_->cellAt(QPoint(70, 20)).row > 1);

        // A press on the fixed strip names the heading, not the cell scrolled beneath it.
        const GridCell underHeading = grid_->cellAt(QPoint(100, 20));
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, QPoint(100, 5));
        QCOMPARE(grid_->pressedCell().row, 0);
        QCOMPARE(grid_->pressedCell().column, underHeading.column);
        QCOMPARE(grid_->currentRow(), 60);

        // Moving back to the first cell brings it out from under the fixed panes.
        grid_->setCurrentCell(1, 1);
        QCOMPARE(grid_->cellRect(1, 1).topLeft(), QPoint(64, 16));
        QCOMPARE(grid_->cellAt(QPoint(70, 20)), (GridCell{1, 1}));
    }

    void fixedPanesAppearOnTheWindowImage() {
        Table tall(40, 3, 1, 1);
        tall.setCell(0, 1, "Ekim");
        grid_->setTable(tall);
        grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->maximum());
        const QImage image = grid_->grab().toImage();
        const QImage heading =
            grid_->grab(QRect(grid_->viewport()->pos() + QPoint(64, 0), QSize(64, 16))).toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(heading.pixelColor(heading.width() / 2, 2), grid_->palette().button().color());
    }

private:
    std::unique_ptr<GridView> grid_;
};

QTEST_MAIN(GridViewTest)
#include "GridViewTest.moc"
