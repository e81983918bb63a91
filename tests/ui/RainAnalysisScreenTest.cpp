#include "ui/rain/RainAnalysisScreen.h"

#include "core/FileIO.h"
#include "platform/ScriptedDialogs.h"
#include "rain/RainYearSheet.h"
#include "store/StationRecord.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"
#include "ui/rain/RainDayTableScreen.h"
#include "ui/rain/RainYearChart.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

namespace {

const char* const kCaption = "01-001    nolu istasyonun Pluviograf yağış değerlerinin analizi";

// A station 01-001 whose 2004 rainfall year has 12.5 mm at 14:07 on 15 November 2003 and
// 0.3 mm at 06:00 on 5 September 2004; the station screen has it selected.
struct Station {
    QTemporaryDir temp;
    std::filesystem::path dir = temp.path().toStdString();
    std::filesystem::path path = dir / rainYearFileName(2004, "01-001");
    MemoryStationHub hub;

    Station() {
        StationRecord record;
        record.stationNumber = fixedText("01-001", StationRecord::stationNumberWidth);
        saveStationRecordFile(dir, record);
        std::vector<RainDayRecord> records = newRainYearRecords(2004);
        records[45].minuteRain[847] = 125;
        records[340].minuteRain[360] = 3;
        Bytes bytes;
        for (const RainDayRecord& r : records) {
            const Bytes one = serializeRainDayRecord(r);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        writeFileAtomic(path, bytes);
        hub.setStationDirectory(dir);
        hub.state.selectedRainFile = path.filename().string();
        hub.state.rainSelection = {path};
        hub.state.rainSelectionCurrent = 0;
    }
    Bytes bytes() const { return readFileBytes(path).value_or(Bytes{}); }
};

// Notes the please-wait window's progress bar whenever it is shown.
class WaitWatcher : public QObject {
public:
    int shown = 0;
    int maximum = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "bekleyiniz") {
            ++shown;
            maximum = watched->findChild<QProgressBar*>()->maximum();
        }
        return false;
    }
};

} // namespace

class RainAnalysisScreenTest : public QObject {
    Q_OBJECT

private slots:
    void analysesTheSelectedFile() {
        Station station;
        AppContext context;
        WaitWatcher watcher;
        qApp->installEventFilter(&watcher);
        RainAnalysisScreen screen(context, station.hub);
        qApp->removeEventFilter(&watcher);
        QCOMPARE(watcher.shown, 1);
        QCOMPARE(watcher.maximum, 366);

        QCOMPARE(screen.objectName(), QString("Pludegerlendirfrm"));
        QCOMPARE(screen.windowTitle(), QString::fromUtf8(kCaption));
        QCOMPARE(screen.analysedFile(), station.path);
        QCOMPARE(controlText(&screen, "Text1"), QString("15.11.2003_14:07:00_12,5"));
        QCOMPARE(controlText(&screen, "Text12"), QString("15.11.2003_14:07:00_12,5"));
        QCOMPARE(controlText(&screen, "Label2"), QString::fromUtf8("Beş dakikalık maximum"));
        QCOMPARE(controlText(&screen, "rainyDays"), QString::fromUtf8("Yağışlı günler sayısı.. 2"));
        QCOMPARE(controlText(&screen, "annualTotal"), QString::fromUtf8("Yıllık toplam yağış= 12,8"));
        QCOMPARE(controlText(&screen, "largestDay"),
                 QString::fromUtf8("Yıllık max. yağış= 12,5 Tarihi= 15.11.2003"));
        QCOMPARE(controlText(&screen, "units"), QString::fromUtf8("   Değerler (mm) dir"));
        const auto* daily = screen.findChild<GridView*>("f1book1");
        QCOMPARE(daily->cell(15, 2), std::string("12,5"));
        QCOMPARE(daily->cell(5, 12), std::string("0,3"));
        QCOMPARE(daily->cell(0, 1), std::string("Ekim"));
        const auto* summary = screen.findChild<GridView*>("MSFlexGrid1");
        QCOMPARE(summary->cell(0, 2), std::string("12,5"));
        QCOMPARE(summary->cell(2, 12), std::string("1"));
        // The screen shows exactly what the analysis computed.
        const Sheet shown = screen.shownSheet();
        QCOMPARE(shown.texts(), rainYearAnalysisSheet(*screen.analysis(), "01-001", context.locale).texts());
    }

    void noSelectionLeavesTheScreenEmpty() {
        Station station;
        station.hub.state.rainSelection.clear();
        station.hub.state.rainSelectionCurrent = -1;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        QCOMPARE(screen.windowTitle(), QString::fromUtf8("Bir yıllık yağış analizi"));
        QVERIFY(!screen.analysis());
        QCOMPARE(screen.findChild<GridView*>("f1book1")->table().rows(), 0);
        QCOMPARE(controlText(&screen, "Text1"), QString());
        QVERIFY(screen.openDay(15, 2) == nullptr);
    }

    void copyMenusPutTheGridsOnTheClipboard() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        auto* daily = screen.findChild<GridView*>("f1book1");
        auto* summary = screen.findChild<GridView*>("MSFlexGrid1");
        QCOMPARE(daily->copyMenu()->objectName(), QString("kesmen11"));
        QCOMPARE(summary->copyMenu()->objectName(), QString("kesmen12"));
        QCOMPARE(daily->copyMenu()->actions().at(0)->text(), QString("kes"));

        summary->copyMenu()->actions().at(0)->trigger();
        const QString summaryText = QApplication::clipboard()->text();
        QCOMPARE(summaryText, QString::fromStdString(summary->table().clipboardText()));
        QCOMPARE(summaryText.count("\r\n"), 3);
        QCOMPARE(summaryText.count('\t'), 39);
        screen.kesme11();
        QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(daily->table().clipboardText()));
    }

    void dayTableSavesIntoTheAnalysedFileAndTheDayCell() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        QSignalSpy opened(&screen, &RainAnalysisScreen::dayTableOpened);
        auto* daily = screen.findChild<GridView*>("f1book1");
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTest::mouseDClick(daily->viewport(), Qt::LeftButton, {}, daily->cellRect(15, 2).center());
        QCOMPARE(opened.count(), 1);
        auto* table = opened.at(0).at(0).value<RainDayTableScreen*>();
        QVERIFY(table != nullptr);
        QCOMPARE(table->dayRecordNumber(), std::size_t{46});
        QCOMPARE(table->file(), station.path);
        QCOMPARE(controlText(table, "Label1"), QString("Gecerli Tarih = 15.11.2003"));

        auto* minutes = table->findChild<GridView*>("MSFlexGrid1");
        QCOMPARE(minutes->cell(8, 15), std::string("12,5"));
        minutes->setCell(8, 15, "2.5");
        minutes->setCell(9, 15, "1");
        QTest::mouseClick(table->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(daily->cell(15, 2), std::string("3,5"));
        QCOMPARE(controlText(table, "Text3"), QString("3,5"));
        // The summary, labels and boxes keep the analysis as it was made.
        QCOMPARE(screen.findChild<GridView*>("MSFlexGrid1")->cell(0, 2), std::string("12,5"));
        QCOMPARE(controlText(&screen, "Text1"), QString("15.11.2003_14:07:00_12,5"));
        const std::vector<RainDayRecord> records = parseRainYearFile(station.bytes());
        QCOMPARE(int(records[45].minuteRain[847]), 25);
        QCOMPARE(int(records[45].minuteRain[848]), 10);
        // The chart draws the file as saved, not the analysis the table was built from.
        std::unique_ptr<QDialog> chart(screen.makeRainChart());
        const auto& drawn = static_cast<RainYearChart*>(chart.get())->data().daily.segments;
        QCOMPARE(drawn, rainChartData(analyseRainYearFile(station.path)->analysis).daily.segments);
        QVERIFY(drawn != rainChartData(*screen.analysis()).daily.segments);

        // The same day again brings the open table forward.
        QCOMPARE(screen.openDay(15, 2), table);
        QCOMPARE(opened.count(), 1);
        delete table;
    }

    void daysThatDoNotExistOpenNothing() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        QSignalSpy opened(&screen, &RainAnalysisScreen::dayTableOpened);
        const Bytes before = station.bytes();
        QVERIFY(screen.openDay(31, 2) == nullptr); // 31 November
        QVERIFY(screen.openDay(30, 5) == nullptr); // 30 February
        QVERIFY(screen.openDay(0, 3) == nullptr);  // the heading row
        QCOMPARE(opened.count(), 0);
        QCOMPARE(station.bytes(), before);
        QCOMPARE(station.bytes().size(), std::size_t{366 * 1470});
    }

    void dayColumnZeroOpensSeptemberAndSavesIntoItsOwnCell() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        connect(&screen, &RainAnalysisScreen::dayTableOpened, &screen, [](RainDayTableScreen*) {});
        RainDayTableScreen* table = screen.openDay(5, 0);
        QVERIFY(table != nullptr);
        QCOMPARE(table->dayBuffer().dayDate, OleDate::fromDate(2004, 9, 5));
        table->findChild<GridView*>("MSFlexGrid1")->setCell(1, 7, "0,4");
        QVERIFY(table->saveDay());
        auto* daily = screen.findChild<GridView*>("f1book1");
        QCOMPARE(daily->cell(5, 12), std::string("0,4"));
        QCOMPARE(daily->cell(5, 0), std::string("5"));
        delete table;
    }

    void newWaterYearIsCreatedForTheCurrentStation() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        dialogs.queueInput("2005");
        QVERIFY(screen.addNewWaterYear());
        QCOMPARE(dialogs.calls().at(0).text, QString::fromUtf8("Yeni su yılını gririniz"));
        const std::filesystem::path created = station.dir / rainYearFileName(2005, "01-001");
        QCOMPARE(readFileBytes(created).value_or(Bytes{}).size(), std::size_t{366 * 1470});

        // An existing year is refused with a message and left as it is.
        const Bytes before = station.bytes();
        dialogs.queueInput("2004");
        QVERIFY(!screen.addNewWaterYear());
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(station.bytes(), before);
        dialogs.queueCancel();
        QVERIFY(!screen.addNewWaterYear());
    }

    void chartAndClose() {
        Station station;
        AppContext context;
        RainAnalysisScreen screen(context, station.hub);
        std::unique_ptr<QDialog> chart(screen.makeRainChart());
        QVERIFY(chart->isModal());
        QCOMPARE(chart->windowTitle(), QString::fromUtf8(kCaption));
        screen.show();
        screen.closeTable();
        QVERIFY(!screen.isVisible());
    }
};

QTEST_MAIN(RainAnalysisScreenTest)
#include "RainAnalysisScreenTest.moc"
