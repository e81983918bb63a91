#include "ui/flow/HqTableScreen.h"

#include "FlowScreenFixture.h"
#include "platform/ScriptedDialogs.h"
#include "store/HqTable.h"
#include "ui/common/DeferredCommand.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace korvel;
using namespace korvel::test;

class HqTableScreenTest : public QObject {
    Q_OBJECT

private slots:
    void refusesToOpenWithoutStation() {
        DemoStation station;
        station.hub.state.record = StationRecord();
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        QVERIFY(HqTableScreen::open(station.context, station.hub) == nullptr);
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Lütfen istasyon secimin yapınız")});
    }

    void opensTheStationScreensTable() {
        DemoStation station;
        std::unique_ptr<HqTableScreen> screen(HqTableScreen::open(station.context, station.hub));
        QVERIFY(screen);
        screen->resize(1200, 800);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        saveScreenshot(screen.get(), "hqanahtarfrm");
        QCOMPARE(screen->openedFile(), QStringLiteral("02_01-001.HQ"));
        QCOMPARE(screen->windowTitle(), QStringLiteral("01-001    nolu istasyonun HQ tablosu değerleri"));
        QCOMPARE(screen->findChild<QLabel*>("fileName")->text(),
                 QStringLiteral("HQ tablo adi:   02_01-001.HQ"));
        QCOMPARE(screen->findChild<QLineEdit*>("enteredBy")->text(), QStringLiteral("Hidrometri Şubesi"));
        QCOMPARE(screen->findChild<QListWidget*>("File1")->count(), 2);
        GridView* periods = gridOf(screen.get(), "periods");
        QCOMPARE(periods->cell(1, 0), std::string("01.10.2003"));

        auto* list = screen->findChild<QListWidget*>("File1");
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(screen->openedFile(), QStringLiteral("01_01-001.HQ"));
        QCOMPARE(station.hub.state.selectedHqFile, std::string("01_01-001.HQ"));
        QCOMPARE(periods->cell(1, 0), std::string("01.10.2002"));
    }

    void keyedValuesAreFilledAndSavedByTheTimers() {
        DemoStation station;
        const auto file = station.dir / "02_01-001.HQ";
        std::unique_ptr<HqTableScreen> screen(HqTableScreen::open(station.context, station.hub));
        screen->show();
        GridView* grid = gridOf(screen.get(), "table");
        // Level 20 and 25 keyed, the cells between emptied.
        typeInto(grid, 3, 1, "100.00", 10);
        QCOMPARE(grid->cell(3, 1), std::string("100,00"));
        for (int c = 2; c <= 5; ++c)
            grid->setCell(3, c, "");
        typeInto(grid, 3, 6, "200", 10);

        screen->fillGaps();
        QVERIFY(screen->fillCommand()->isArmed());
        QCOMPARE(grid->cell(3, 2), std::string());
        QTRY_VERIFY(!screen->fillCommand()->isArmed());
        QCOMPARE(grid->cell(3, 2), std::string("120,00"));
        QCOMPARE(grid->cell(3, 5), std::string("180,00"));

        GridView* periods = gridOf(screen.get(), "periods");
        typeInto(periods, 2, 0, "01.10.2004");
        // The leading "0" is dropped as any cell holding "0" is emptied before the next key.
        QCOMPARE(QString::fromStdString(periods->cell(2, 0)), QStringLiteral("1,10,2004"));
        typeInto(periods, 2, 1, "30/09/2005");
        screen->save();
        QVERIFY(screen->saveCommand()->isArmed());
        QTRY_VERIFY(!screen->saveCommand()->isArmed());

        const HqTable saved = readHqTable(file);
        QCOMPARE(saved.discharge[20], 100.0F);
        QCOMPARE(saved.discharge[22], 140.0F);
        QCOMPARE(saved.discharge[25], 200.0F);
        QCOMPARE(saved.validFrom[2], OleDate::fromDate(2004, 10, 1));
        QCOMPARE(saved.validTo[2], OleDate::fromDate(2005, 9, 30));
        QCOMPARE(saved.enteredBy.substr(0, 10), std::string("Hidrometri"));
    }

    void unreadableCellStopsFillAndSave() {
        DemoStation station;
        const auto file = station.dir / "02_01-001.HQ";
        const Bytes before = station.bytesOf(file);
        std::unique_ptr<HqTableScreen> screen(HqTableScreen::open(station.context, station.hub));
        gridOf(screen.get(), "table")->setCell(5, 3, "1:5");
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        screen->fillGaps();
        screen->fillCommand()->runNow();
        QVERIFY(!screen->saveNow());
        QCOMPARE(dialogs.messages().size(), 2);
        QVERIFY(dialogs.messages().front().contains(QStringLiteral("Seviye 42: \"1:5\"")));
        QVERIFY(station.bytesOf(file) == before);
    }

    void newTableRefusesAUsedNumber() {
        DemoStation station;
        const Bytes first = station.bytesOf(station.dir / "01_01-001.HQ");
        std::unique_ptr<HqTableScreen> screen(HqTableScreen::open(station.context, station.hub));
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        dialogs.queueInput("1");
        dialogs.queueInput("120");
        dialogs.queueInput("7");
        screen->newTable();
        QCOMPARE(dialogs.calls().front().defaultAnswer, QStringLiteral("3"));
        QCOMPARE(dialogs.calls().front().text,
                 QStringLiteral("Lütfen oluşturulacak HQ tablo nosunu giriniz"));
        QCOMPARE(dialogs.messages().size(), 2);
        QVERIFY(dialogs.messages().front().startsWith(QStringLiteral("01 nolu HQ tablosu zaten var")));
        QVERIFY(station.bytesOf(station.dir / "01_01-001.HQ") == first);
        QVERIFY(std::filesystem::exists(station.dir / "07_01-001.HQ"));
        QCOMPARE(screen->openedFile(), QStringLiteral("07_01-001.HQ"));
        QCOMPARE(screen->findChild<QListWidget*>("File1")->count(), 3);

        // A cancelled prompt creates nothing.
        dialogs.queueCancel();
        screen->newTable();
        QCOMPARE(screen->findChild<QListWidget*>("File1")->count(), 3);
    }
};

QTEST_MAIN(HqTableScreenTest)
#include "HqTableScreenTest.moc"
