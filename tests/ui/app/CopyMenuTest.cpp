#include "AppTestDrive.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace korvel;

namespace {

Table sampleTable() {
    Table table(3, 3, 1, 1);
    table.setCell(0, 1, "Ekim");
    table.setCell(0, 2, "Kasım");
    table.setCell(1, 0, "1");
    table.setCell(1, 1, "12,5");
    table.setCell(2, 0, "2");
    table.setCell(2, 2, "0,4");
    return table;
}

// A screen with two grids that name copy menus 8 and 9, as a table screen built on its own does.
QWidget* tableScreen(GridView*& first, GridView*& second) {
    auto* screen = new QWidget;
    auto* layout = new QVBoxLayout(screen);
    first = new GridView("MSFlexGrid2", screen);
    second = new GridView("MSFlexGrid3", screen);
    first->setTable(sampleTable());
    Table other(2, 2, 1, 0);
    other.setCell(1, 1, "x");
    second->setTable(other);
    first->setCopyMenu("kesmen8", "kes8");
    second->setCopyMenu("kesmen9", "kes9");
    layout->addWidget(first);
    layout->addWidget(second);
    screen->resize(400, 300);
    return screen;
}

} // namespace

class CopyMenuTest : public QObject {
    Q_OBJECT

private slots:
    void rightPressOnAGridPopsUpTheMainWindowsCopyMenu() {
        test::TestDrive drive(false);
        MainWindow window(drive.context());
        window.start();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        GridView* first = nullptr;
        GridView* second = nullptr;
        window.openChild(tableScreen(first, second));
        QTest::qWait(20);

        QApplication::clipboard()->setText("old");
        QTest::mousePress(first->viewport(), Qt::RightButton, {}, first->cellRect(1, 1).center());
        QMenu* menu = window.menu("kesmen8");
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(!first->copyMenu()->isVisible());
        window.command("kes8")->trigger();
        menu->close();
        QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(sampleTable().clipboardText()));
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("\tEkim\tKasım\t\r\n1\t12,5\t\t\r\n2\t\t0,4\t\r\n"));
        QVERIFY(first->isVisible());

        QTest::mousePress(second->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QTRY_VERIFY(window.menu("kesmen9")->isVisible());
        window.command("kes9")->trigger();
        window.menu("kesmen9")->close();
        QCOMPARE(QApplication::clipboard()->text(), QString("\t\t\r\n\tx\t\r\n"));
    }

    void copyItemWithoutAGridDoesNothing() {
        test::TestDrive drive(false);
        MainWindow window(drive.context());
        window.start();
        QApplication::clipboard()->setText("kept");
        window.command("kes5")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
    }

    void aboutBoxNamesTheProgramAndClosesWithItsButton() {
        QDialog* box = makeAboutBox(nullptr);
        const QString texts = box->findChild<QLabel*>("lblTitle")->text() + " " +
                              box->findChild<QLabel*>("lblVersion")->text() + " " +
                              box->findChild<QLabel*>("lblDescription")->text();
        QVERIFY(texts.contains("KORVEL2000"));
        QVERIFY(texts.contains("vdx.1.1"));
        QVERIFY(texts.contains(QString::fromUtf8("hidrometri")));
        const QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        box->show();
        buttons.front()->click();
        QVERIFY(!box->isVisible());
        QCOMPARE(box->result(), int(QDialog::Accepted));
        delete box;
    }
};

QTEST_MAIN(CopyMenuTest)
#include "CopyMenuTest.moc"
