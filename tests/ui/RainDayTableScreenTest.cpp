#include "ui/rain/RainDayTableScreen.h"

#include "core/FileIO.h"
#include "platform/ScriptedDialogs.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

namespace {

constexpr std::size_t kRecord = 46; // 15 November 2003

// A rainfall-year file ending in 2004 whose 15 November has 0.3 mm at 06:00.
struct YearFile {
    QTemporaryDir temp;
    std::filesystem::path dir = temp.path().toStdString();
    std::filesystem::path path = dir / rainYearFileName(2004, "01-001");

    YearFile() {
        std::vector<RainDayRecord> records = newRainYearRecords(2004);
        records[kRecord - 1].minuteRain[360] = 3;
        Bytes bytes;
        for (const RainDayRecord& record : records) {
            const Bytes one = serializeRainDayRecord(record);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        writeFileAtomic(path, bytes);
    }
    RainDayRecord record() const {
        return parseRainYearFile(readFileBytes(path).value_or(Bytes{}))[kRecord - 1];
    }
    Bytes bytes() const { return readFileBytes(path).value_or(Bytes{}); }
};

struct Screen {
    AppContext context;
    YearFile file;
    RainDayTableScreen form{context, file.path, kRecord, file.record()};

    Screen() {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    GridView* grid() { return form.findChild<GridView*>("MSFlexGrid1"); }
    QString text(const char* name) { return controlText(&form, name); }
    void click(const char* button) {
        QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    }

    // A left-button drag over the value cells from one cell to another.
    void drag(int fromRow, int fromColumn, int toRow, int toColumn) {
        QWidget* viewport = grid()->viewport();
        const QPoint from = grid()->cellRect(fromRow, fromColumn).center();
        const QPoint to = grid()->cellRect(toRow, toColumn).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(viewport->mapToGlobal(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        dragCount = text("Text2");
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    }
    QString dragCount;
};

} // namespace

class RainDayTableScreenTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheDayByHourAndMinute() {
        Screen screen;
        QCOMPARE(screen.form.objectName(), QString("Gunluktablofrm"));
        QCOMPARE(screen.form.windowTitle(), QString::fromUtf8("Pluviograf değerlerinin günlük yorumu"));
        QCOMPARE(screen.text("Label1"), QString("Gecerli Tarih = 15.11.2003"));
        QCOMPARE(screen.text("Text1"), QString("0,1"));
        QCOMPARE(screen.text("Text2"), QString());
        QCOMPARE(screen.text("Text3"), QString());
        QCOMPARE(screen.text("Command1"), QString::fromUtf8("Hücreyi doldur"));
        QCOMPARE(screen.text("Command2"), QString("Kaydet"));
        QCOMPARE(screen.text("Command3"), QString("Kapat"));
        const Table& table = screen.grid()->table();
        QCOMPARE(table.cell(0, 7), std::string("6"));
        QCOMPARE(table.cell(1, 0), std::string("1"));
        QCOMPARE(table.cell(1, 7), std::string("0,3"));
        int filled = 0;
        for (int row = 1; row < 61; ++row)
            for (int column = 1; column < 25; ++column)
                filled += !table.cell(row, column).empty();
        QCOMPARE(filled, 1);
    }

    void dragCountsAndFillsTheBlock() {
        Screen screen;
        screen.drag(5, 3, 7, 4);
        QCOMPARE(screen.dragCount, QString("6"));
        QCOMPARE(screen.form.selection().selStartRow, 5);
        QCOMPARE(screen.form.selection().selStartCol, 3);
        QCOMPARE(screen.form.selection().selEndRow, 7);
        QCOMPARE(screen.form.selection().selEndCol, 4);
        screen.click("Command1");
        for (int row = 5; row <= 7; ++row)
            for (int column = 3; column <= 4; ++column)
                QCOMPARE(screen.grid()->cell(row, column), std::string("0,1"));
        QCOMPARE(screen.grid()->cell(8, 3), std::string());
        QCOMPARE(screen.text("Text2"), QString());
        QVERIFY(screen.grid()->isVisible());
    }

    void dragUpwardsOrLeftFillsNothing() {
        Screen screen;
        const Table before = screen.grid()->table();
        screen.drag(7, 4, 5, 4);
        QCOMPARE(screen.dragCount, QString("0"));
        screen.click("Command1");
        screen.drag(7, 4, 7, 2);
        screen.click("Command1");
        QCOMPARE(screen.grid()->table(), before);
    }

    void fillBoxTakesDigitsAndCommas() {
        Screen screen;
        auto* box = screen.form.findChild<QLineEdit*>("Text1");
        QTest::mouseDClick(box, Qt::LeftButton);
        QCOMPARE(box->text(), QString());
        QTest::keyClicks(box, "1.5x:");
        QCOMPARE(box->text(), QString("1,50:"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString("1,50"));
    }

    void typedCellsAndFillAreSavedAndTotalled() {
        Screen screen;
        QSignalSpy saved(&screen.form, &RainDayTableScreen::daySaved);
        // 14:07 is column 15, row 8: typed "2,5" is entered as "2.5".
        screen.grid()->setCurrentCell(8, 15);
        screen.grid()->setFocus();
        QTest::keyClicks(screen.grid(), "2,5");
        QCOMPARE(screen.grid()->cell(8, 15), std::string("2.5"));
        QTest::keyClick(screen.grid(), Qt::Key_Backspace);
        QTest::keyClicks(screen.grid(), "5a");
        QCOMPARE(screen.grid()->cell(8, 15), std::string("2.5"));

        screen.form.findChild<QLineEdit*>("Text1")->setText("0,25");
        screen.drag(1, 1, 2, 1); // 00:00 and 00:01
        screen.click("Command1");
        screen.click("Command2");

        const RainDayRecord written = screen.file.record();
        QCOMPARE(int(written.minuteRain[847]), 25);
        QCOMPARE(int(written.minuteRain[0]), 2); // 2.5 tenths, halves to even
        QCOMPARE(int(written.minuteRain[1]), 2);
        QCOMPARE(int(written.minuteRain[360]), 3);
        QCOMPARE(dailyTotalTenths(written), 32);
        QCOMPARE(screen.text("Text3"), QString("3,2"));
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.at(0).at(0).toInt(), 32);
        QCOMPARE(screen.form.dayBuffer(), written);
        QVERIFY(screen.grid()->isVisible());
    }

    void emptiedDaySavesZerosAndEmptiesTheTotal() {
        Screen screen;
        screen.grid()->setCell(1, 7, "");
        screen.click("Command2");
        QCOMPARE(dailyTotalTenths(screen.file.record()), 0);
        QCOMPARE(screen.text("Text3"), QString());
    }

    void refusedValueIsNamedAndNothingIsWritten() {
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        Screen screen;
        const Bytes before = screen.file.bytes();
        QSignalSpy saved(&screen.form, &RainDayTableScreen::daySaved);
        screen.grid()->setCell(8, 15, "1:5");
        screen.click("Command2");
        QCOMPARE(
            dialogs.messages(),
            QStringList{QString::fromUtf8(
                "Saat 14 sütunu, 8. satırdaki (14:07) \"1:5\" değeri bir sayı değil. Gün kaydedilmedi.")});
        screen.grid()->setCell(8, 15, "26");
        screen.click("Command2");
        QCOMPARE(dialogs.messages().size(), 2);
        QVERIFY(dialogs.messages().at(1).contains(QString::fromUtf8("0 ile 25,5 mm arasında olmalı")));
        QCOMPARE(screen.file.bytes(), before);
        QCOMPARE(saved.count(), 0);
        QCOMPARE(screen.text("Text3"), QString());
    }

    // Another window's save of a different day does not stop this one; a change to this day does.
    void aDayChangedInTheFileSinceItWasReadIsNotWrittenOverWithoutAsking() {
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        Screen screen;
        QSignalSpy changed(&screen.form, &RainDayTableScreen::daySaved);
        writeRecords(
            screen.file.path, kRainDayRecordSize,
            {{kRecord + 1, serializeRainDayRecord(newRainDayRecord(OleDate::fromDate(2003, 11, 16)))}});
        screen.grid()->setCell(8, 15, "1");
        screen.click("Command2");
        QCOMPARE(dialogs.calls().size(), 0);
        QCOMPARE(int(screen.file.record().minuteRain[847]), 10);

        RainDayRecord elsewhere = screen.file.record();
        elsewhere.minuteRain[600] = 40;
        writeRecords(screen.file.path, kRainDayRecordSize, {{kRecord, serializeRainDayRecord(elsewhere)}});
        screen.grid()->setCell(8, 15, "2");
        dialogs.queueChoice(AbortRetryIgnore::Abort);
        screen.click("Command2");
        QCOMPARE(dialogs.calls().size(), 1);
        QCOMPARE(screen.file.record(), elsewhere);

        // Read again: the grid shows the other change, the analysis gets the day's new total.
        dialogs.queueChoice(AbortRetryIgnore::Retry);
        screen.click("Command2");
        QCOMPARE(screen.file.record(), elsewhere);
        QCOMPARE(screen.grid()->cell(8, 15), std::string("1"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().at(0).toInt(), dailyTotalTenths(elsewhere));

        // Now in step, the save goes through without a question.
        screen.grid()->setCell(8, 15, "2");
        screen.click("Command2");
        QCOMPARE(dialogs.calls().size(), 2);
        QCOMPARE(int(screen.file.record().minuteRain[847]), 20);
        QCOMPARE(int(screen.file.record().minuteRain[600]), 40);
    }

    void closeDiscardsEdits() {
        Screen screen;
        const Bytes before = screen.file.bytes();
        screen.grid()->setCell(8, 15, "5");
        screen.click("Command3");
        QVERIFY(!screen.form.isVisible());
        QCOMPARE(screen.file.bytes(), before);
    }

    // In the main window the table sits in a child-window frame, which "Kapat" closes too.
    void closeAlsoClosesItsChildWindowFrame() {
        AppContext context;
        YearFile file;
        QMdiArea area;
        auto* form = new RainDayTableScreen(context, file.path, kRecord, file.record());
        area.addSubWindow(form)->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QTest::mouseClick(form->findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QTRY_VERIFY(area.subWindowList().isEmpty());
    }
};

QTEST_MAIN(RainDayTableScreenTest)
#include "RainDayTableScreenTest.moc"
