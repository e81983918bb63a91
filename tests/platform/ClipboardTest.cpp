#include "platform/Clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using korvel::Table;

class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void everyCellIsFollowedByATabAndEveryRowByCrLf() {
        Table table(2, 3);
        table.setCell(0, 0, "a");
        table.setCell(0, 1, "b");
        table.setCell(0, 2, "c");
        table.setCell(1, 0, "d");
        table.setCell(1, 1, "e");
        table.setCell(1, 2, "f");
        korvel::copyGridToClipboard(table);
        QCOMPARE(QApplication::clipboard()->text(), QString("a\tb\tc\t\r\nd\te\tf\t\r\n"));
    }

    void emptyCellsAndTurkishTextAreKept() {
        Table table(2, 2, 1, 1);
        table.setCell(0, 1, "Ekim");
        table.setCell(1, 0, "Şubat");
        korvel::copyGridToClipboard(table);
        QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("\tEkim\t\r\nŞubat\t\t\r\n"));
    }

    void previousContentIsReplaced() {
        QApplication::clipboard()->setText("eski");
        korvel::copyGridToClipboard(Table());
        QCOMPARE(QApplication::clipboard()->text(), QString());
    }
};

QTEST_MAIN(ClipboardTest)
#include "ClipboardTest.moc"
