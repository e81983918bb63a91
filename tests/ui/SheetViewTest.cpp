#include "ui/common/SheetView.h"

#include "ui/common/GridView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using korvel::Sheet;
using korvel::Table;

namespace {

struct Screen {
    QWidget window;
    QLabel* label7 = new QLabel(&window);
    QLineEdit* text6 = new QLineEdit(&window);
    QPushButton* command1 = new QPushButton(&window);
    korvel::GridView* grid = new korvel::GridView("MSFlexGrid1", &window);

    Screen() {
        label7->setObjectName("Label7");
        text6->setObjectName("Text6");
        command1->setObjectName("Command1");
    }
};

Sheet sampleSheet() {
    Sheet sheet;
    sheet.caption = "Bir yıllık yağış analizi";
    Table table(3, 2, 1, 1);
    table.setCell(0, 1, "Ekim");
    table.setCell(1, 1, "12,5");
    sheet.setTable("MSFlexGrid1", table);
    sheet.setText("Label7", "İstasyon No.......:   D14A001");
    sheet.setText("Text6", "129,4");
    return sheet;
}

} // namespace

class SheetViewTest : public QObject {
    Q_OBJECT

private slots:
    void sheetFillsControlsByName() {
        Screen screen;
        Sheet sheet = sampleSheet();
        sheet.setText("Command1", "Hesapla");
        sheet.setText("Label99", "yok");
        sheet.setTable("MSFlexGrid9", Table(2, 2));
        korvel::showSheet(&screen.window, sheet);

        QCOMPARE(screen.window.windowTitle(), QString::fromUtf8("Bir yıllık yağış analizi"));
        QCOMPARE(screen.label7->text(), QString::fromUtf8("İstasyon No.......:   D14A001"));
        QCOMPARE(screen.text6->text(), QString("129,4"));
        QCOMPARE(screen.command1->text(), QString("Hesapla"));
        QCOMPARE(screen.grid->table(), *sheet.findTable("MSFlexGrid1"));
    }

    void readingBackGivesTheSameSheet() {
        Screen screen;
        const Sheet sheet = sampleSheet();
        korvel::showSheet(&screen.window, sheet);
        const Sheet shown = korvel::readSheet(&screen.window, sheet);
        QCOMPARE(shown.caption, sheet.caption);
        QCOMPARE(shown.texts(), sheet.texts());
        QCOMPARE(*shown.findTable("MSFlexGrid1"), *sheet.findTable("MSFlexGrid1"));
    }

    void emptyCaptionKeepsTheWindowTitle() {
        Screen screen;
        screen.window.setWindowTitle("Kitap ");
        Sheet sheet;
        sheet.setText("Text6", "x");
        korvel::showSheet(&screen.window, sheet);
        QCOMPARE(screen.window.windowTitle(), QString("Kitap "));
        QVERIFY(!korvel::setControlText(&screen.window, "Text77", "y"));
        QCOMPARE(korvel::controlText(&screen.window, "Text77"), QString());
        QCOMPARE(korvel::controlText(&screen.window, "Text6"), QString("x"));
    }
};

QTEST_MAIN(SheetViewTest)
#include "SheetViewTest.moc"
