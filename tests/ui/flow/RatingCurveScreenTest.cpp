#include "ui/flow/RatingCurveScreen.h"

#include "FlowScreenFixture.h"
#include "flow/AnnualFlow.h"
#include "flow/RatingSheet.h"
#include "platform/ScriptedDialogs.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "ui/flow/HqTableScreen.h"

#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLogValueAxis>

using namespace korvel;
using namespace korvel::test;

class RatingCurveScreenTest : public QObject {
    Q_OBJECT

private slots:
    void fitsTheCardAndLeavesAGaugingOut() {
        DemoStation station;
        RatingCurveScreen screen(station.context, station.hub);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        saveScreenshot(&screen, "anahtaregrisifrm");
        QVERIFY(screen.fit());
        const std::size_t used = screen.fit()->usedCount;
        GridView* gaugings = gridOf(&screen, "gaugings");
        QCOMPARE(gaugings->table().rows(), static_cast<int>(screen.fit()->gaugings.size()) + 1);
        QVERIFY(
            screen.findChild<QLabel*>("segmentChoice")->text().startsWith(QStringLiteral("Parça sayısı")));
        QVERIFY(!screen.curveChart()->series().isEmpty());
        QVERIFY(!screen.deviationDateChart()->series().isEmpty());

        // Row 17 of the card reads high (a weedy section): a click in "Dışarıda" leaves it out.
        QCOMPARE(gaugings->cell(17, 0), std::string("17"));
        screen.toggleLeftOut(17);
        QCOMPARE(screen.fit()->usedCount, used - 1);
        QCOMPARE(gaugings->cell(17, 7), std::string("X"));
        QCOMPARE(gaugings->cell(17, 6), std::string("Hayır")); // outside the prediction band
        QVERIFY(screen.leftOutRows().count(17) == 1);
        QTest::mouseClick(gaugings->viewport(), Qt::LeftButton, {},
                          gaugings->cellRect(1, kLeftOutColumn).center());
        QVERIFY(screen.leftOutRows().count(1) == 1);
        QCOMPARE(screen.fit()->usedCount, used - 2);

        screen.findChild<QCheckBox*>("logAxes")->setChecked(true);
        QVERIFY(qobject_cast<QLogValueAxis*>(screen.curveChart()->axes(Qt::Vertical).front()));

        // A breakpoint outside the gauged range is named, and the gaugings stay listed.
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        screen.findChild<QLineEdit*>("breaks")->setText(QStringLiteral("5000"));
        QVERIFY(!screen.refit());
        QVERIFY(dialogs.messages().front().contains(QStringLiteral("kırılma noktası 5000")));
        QCOMPARE(gaugings->cell(17, 7), std::string("X"));
    }

    void savedTableOpensInTheHqScreenAndRatesTheYearFromItsFirstDay() {
        DemoStation station;
        RatingCurveScreen screen(station.context, station.hub);
        screen.toggleLeftOut(17);
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        dialogs.queueInput(QStringLiteral("3"));
        dialogs.queueInput(QStringLiteral("01.04.2004"));
        dialogs.queueInput(QStringLiteral("30.09.2004"));
        dialogs.queueAnswer(true); // end table 02's period on 31.03.2004
        QVERIFY(screen.saveAsHqTable());
        QVERIFY(dialogs.calls()[3].text.contains(QStringLiteral("31.03.2004")));

        station.hub.selectHqFile("03_01-001.HQ");
        HqTableScreen hq(station.context, station.hub);
        QCOMPARE(hq.openedFile(), QStringLiteral("03_01-001.HQ"));
        QCOMPARE(hq.findChild<QListWidget*>("File1")->count(), 3);
        GridView* periods = gridOf(&hq, "periods");
        QCOMPARE(periods->cell(1, 0), std::string("01.04.2004"));
        QCOMPARE(periods->cell(1, 1), std::string("30.09.2004"));
        const double at200 = screen.fit()->curve.discharge(200.0);
        const std::string shown = gridOf(&hq, "table")->cell(21, 1); // level 200
        QVERIFY(std::abs(station.context.locale.parseNumber(shown).value_or(0.0) - at200) <= 0.006);
        QVERIFY(hq.findChild<QLineEdit*>("remarks")->text().contains(QStringLiteral("dışarıda satır 17")));

        const HqTableSet tables = loadHqTableSet(station.dir);
        QCOMPARE(lookupDischarge(tables, OleDate::fromDate(2004, 5, 15), 200.0)->hqKey, std::string("03"));
        QCOMPARE(lookupDischarge(tables, OleDate::fromDate(2004, 3, 31), 200.0)->hqKey, std::string("02"));
        const AnnualFlow year = computeAnnualFlow(readWaterYearFile(station.flowFile()), tables, 126.4);
        bool usesNewTable = false;
        for (const UsedKeyPeriod& used : year.keyPeriods)
            usesNewTable =
                usesNewTable || (used.hqKey == "03" && used.start == OleDate::fromDate(2004, 4, 1));
        QVERIFY(usesNewTable);
    }
};

QTEST_MAIN(RatingCurveScreenTest)
#include "RatingCurveScreenTest.moc"
