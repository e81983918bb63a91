#include "ui/journal/ChangeHistoryScreen.h"

#include "flow/YearFromTotals.h"
#include "platform/ScriptedDialogs.h"
#include "ui/flow/FlowScreenFixture.h"
#include "ui/flow/MonthlyFlowScreen.h"
#include "ui/journal/AppJournal.h"

#include <QPushButton>
#include <QTableWidget>

using namespace korvel;
using namespace korvel::test;

namespace {

constexpr int kNovember = 1;

QTableWidget* tableOf(QWidget* screen, const char* name) {
    return screen->findChild<QTableWidget*>(name);
}

QString cellText(QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item != nullptr ? item->text() : QString();
}

std::unique_ptr<MonthlyFlowScreen> monthTable(DemoStation& station) {
    std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
    screen->show();
    return screen;
}

} // namespace

class ChangeHistoryScreenTest : public QObject {
    Q_OBJECT

private slots:
    void aMistakenYearFromTotalsIsTakenBackAlsoAfterARestart() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        Bytes corrected;
        long long yearEntry = 0;
        {
            const AppJournal journal([] { return QStringLiteral("Aylık akım tablosu"); }, nullptr);
            ScriptedDialogs dialogs;
            DialogProviderScope scope(dialogs);
            auto screen = monthTable(station);
            typeInto(gridOf(screen.get(), "MSFlexGrid2"), 3, 1, "955", 3);
            screen->save();
            corrected = station.bytesOf(station.flowFile());

            const std::array<std::string, 12> totals{"1", "2", "3", "4",  "5",  "6",
                                                     "7", "8", "9", "10", "11", "12"};
            QVERIFY(buildYearFromMonthlyTotals(station.dir, "01-001", "2004", totals, station.context.locale,
                                               MeasuredDays::Replace)
                        .written);
            QVERIFY(station.bytesOf(station.flowFile()) != corrected);

            ChangeHistoryScreen history(station.context, station.hub);
            QTableWidget* entries = tableOf(&history, "MSFlexGrid1");
            QCOMPARE(entries->rowCount(), 2);
            QCOMPARE(cellText(entries, 1, 3), QStringLiteral("korvel2000: Aylık akım tablosu"));
            QCOMPARE(cellText(entries, 1, 4), QStringLiteral("2004_01-001.ard"));
            QCOMPARE(cellText(entries, 1, 5), QStringLiteral("34")); // 3 November, the 34th day of the year
            QCOMPARE(cellText(entries, 0, 5), QStringLiteral("1-366"));
            yearEntry = cellText(entries, 0, 0).toLongLong();

            // The corrected day before and after, as the monthly table shows it.
            QVERIFY(history.selectEntry(cellText(entries, 1, 0).toLongLong()));
            QTableWidget* records = tableOf(&history, "MSFlexGrid2");
            QCOMPARE(records->rowCount(), 2);
            QCOMPARE(cellText(records, 0, 2), QStringLiteral("03.11.2003"));
            QCOMPARE(cellText(records, 1, 1), QStringLiteral("sonra"));
            QCOMPARE(cellText(records, 1, 3), QStringLiteral("955"));
        }
        // The program starts again: the undo works from the journal alone.
        const AppJournal journal([] { return QString(); }, nullptr);
        ChangeHistoryScreen history(station.context, station.hub);
        QVERIFY(history.selectEntry(yearEntry));
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        dialogs.queueAnswer(true);
        QTest::mouseClick(history.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join("\n")));
        QCOMPARE(station.bytesOf(station.flowFile()), corrected);
        QTableWidget* entries = tableOf(&history, "MSFlexGrid1");
        QCOMPARE(entries->rowCount(), 3);
        QVERIFY(cellText(entries, 0, 3).contains(QStringLiteral("geri al %1").arg(yearEntry)));
        QCOMPARE(cellText(entries, 1, 6), QStringLiteral("geri alındı (%1)").arg(cellText(entries, 0, 0)));
        QCOMPARE(cellText(entries, 2, 6), QString());
    }

    void aScreenSavingOverAFileChangedSinceItReadItAsksFirst() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        const AppJournal journal([] { return QString(); }, nullptr);
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        auto first = monthTable(station);
        auto second = monthTable(station);
        typeInto(gridOf(first.get(), "MSFlexGrid2"), 3, 1, "955", 3);
        first->save();
        const Bytes firstSaved = station.bytesOf(station.flowFile());

        // Cancel: nothing is written.
        typeInto(gridOf(second.get(), "MSFlexGrid2"), 4, 1, "966", 3);
        dialogs.queueChoice(AbortRetryIgnore::Abort);
        second->save();
        QCOMPARE(dialogs.calls().size(), 1);
        QVERIFY(dialogs.calls().front().text.startsWith(
            QStringLiteral("Dosya siz okuduktan sonra değişti: 2004_01-001.ard")));
        QCOMPARE(station.bytesOf(station.flowFile()), firstSaved);

        // Reload: the screen shows the other change and drops its own edit.
        dialogs.queueChoice(AbortRetryIgnore::Retry);
        second->save();
        QCOMPARE(station.bytesOf(station.flowFile()), firstSaved);
        QCOMPARE(gridOf(second.get(), "MSFlexGrid2")->cell(3, 1), std::string("955"));
        QVERIFY(gridOf(second.get(), "MSFlexGrid2")->cell(4, 1) != std::string("966"));

        // Read afresh, it saves without asking; the first screen, now behind, overwrites when told.
        typeInto(gridOf(second.get(), "MSFlexGrid2"), 4, 1, "966", 3);
        second->save();
        QCOMPARE(dialogs.calls().size(), 2);
        typeInto(gridOf(first.get(), "MSFlexGrid2"), 5, 1, "977", 3);
        dialogs.queueChoice(AbortRetryIgnore::Ignore);
        first->save();
        QCOMPARE(dialogs.calls().size(), 3);
        QCOMPARE(ChangeJournal(station.dir, ChangeJournal::Access::read).entries().size(), std::size_t(3));
    }
};

QTEST_MAIN(ChangeHistoryScreenTest)
#include "ChangeHistoryScreenTest.moc"
