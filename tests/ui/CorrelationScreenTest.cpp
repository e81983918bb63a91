#include "ui/correlation/CorrelationScreen.h"

#include "common/ScratchDirectory.h"
#include "flow/Correlation.h"
#include "flow/YearFixtures.h"
#include "platform/ScriptedDialogs.h"
#include "ui/common/AppContext.h"
#include "ui/common/PleaseWait.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

double targetMean(int year, int m) {
    return 10.0 + 4.0 * m + (year - 2000);
}

std::vector<DayRecord> monthlyYear(int year, double (*f)(int, int)) {
    return testing::waterYearDays(year, [&](OleDate d) {
        return testing::levelDay(d, static_cast<float>(f(year, (d.month() + 2) % 12)));
    });
}

// A double-click as the mouse gives it: a click, then the second press.
void doubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class CorrelationScreenTest : public QObject {
    Q_OBJECT

private slots:
    // Under the data root: the target 01-001 with complete years 2001 and 2002 (levels read 1:1
    // through its table), an empty 2003 and nothing of 2004; the reference 01-002 following it,
    // with 2004 from the logger through its second table, which ends on 20 September 2004; and a
    // station 05-001 running against both.
    void init() {
        scratch_ = std::make_unique<testing::ScratchDirectory>();
        const fs::path root = scratch_->path() / "korvel2000";
        target_ = root / "Ankara" / "01" / "01-001";
        reference_ = root / "Ankara" / "01" / "01-002";
        const fs::path opposite = root / "Konya" / "05" / "05-001";
        for (const auto& dir : {target_, reference_, opposite})
            fs::create_directories(dir);
        for (int year : {2001, 2002}) {
            testing::writeYear(target_ / waterYearFileName(year, "01-001"), monthlyYear(year, targetMean));
            testing::writeYear(
                reference_ / waterYearFileName(year, "01-002"),
                monthlyYear(year, [](int y, int m) { return 3.0 * targetMean(y, m) + 5.0 + (m % 3) * 6.0; }));
            testing::writeYear(opposite / waterYearFileName(year, "05-001"),
                               monthlyYear(year, [](int y, int m) { return 200.0 - targetMean(y, m); }));
        }
        const HqTable oneToOne =
            testing::linearTable(1.0F, testing::day(2000, 10, 1), testing::day(2002, 9, 30));
        for (const auto& dir : {target_, reference_, opposite})
            writeHqTable(dir / "00_x.HQ", oneToOne);
        writeHqTable(reference_ / "01_01-002.HQ",
                     testing::linearTable(2.0F, testing::day(2003, 10, 1), testing::day(2004, 9, 20)));
        createWaterYear(target_, 2003, "01-001");
        testing::writeYear(reference_ / "2004_01-002.ard", testing::waterYearDays(2004, [](OleDate d) {
                               return testing::levelDay(d, 150.0F);
                           }));

        hub_.state.stationDir = target_;
        hub_.state.record.stationNumber = "01-001  ";
        hub_.state.selectedFlowFile = "2001_01-001.ard";
        context_.paths = Paths(scratch_->path());
        context_.locale = Locale::turkish();
        dialogs_.clear();
        screen_ = std::make_unique<CorrelationScreen>(context_, hub_);
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    }
    void cleanup() {
        screen_.reset();
        scratch_.reset();
    }

    void targetYearsAreLoaded() {
        QCOMPARE(screen_->objectName(), QString("korelasyonfrm"));
        QCOMPARE(
            screen_->windowTitle(),
            QString::fromUtf8("Olçümü yapılmamış  istasyonu , ölçümü yapılmış başka istasyonla korele eder"));
        auto* years = screen_->findChild<QListWidget*>("targetYears");
        QCOMPARE(years->count(), 2);
        QCOMPARE(years->item(1)->text(), QString("2002"));
        QVERIFY(!years->isVisible());
        QVERIFY(!screen_->findChild<QListWidget*>("candidatePaths")->isVisible());
    }

    void scanListsTheReferenceAndCompletesTheMissingYear() {
        const DialogProviderScope scope(dialogs_);
        QSignalSpy finished(screen_.get(), &CorrelationScreen::scanFinished);
        auto* scan = screen_->findChild<QPushButton*>("Command1");
        QCOMPARE(scan->text(),
                 QString::fromUtf8("Bütün istasyonlari ve datalarını tarayarak uygun olanlarını goster..."));
        QTest::mouseClick(scan, Qt::LeftButton);
        QVERIFY(screen_->scanRunning());
        QVERIFY(screen_->waitWindow() != nullptr);
        QCOMPARE(screen_->waitWindow()->objectName(), QString("bekleyiniz"));
        QVERIFY(screen_->waitWindow()->isCancellable());
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.front().front().toBool(), false);
        QVERIFY(!scan->isVisible());
        QVERIFY(screen_->findChild<QLabel*>("Label3")->isVisible());
        // The target's empty 2003, listed when it was loaded, is not listed again by the scan.
        auto* incomplete = screen_->findChild<QListWidget*>("incompleteYears");
        QCOMPARE(incomplete->count(), 1);
        QVERIFY(incomplete->item(0)->text().contains("2003_01-001.ard"));

        auto* candidates = screen_->findChild<QListWidget*>("List4");
        QCOMPARE(candidates->count(), 1);
        const QString line = candidates->item(0)->text();
        QVERIFY(line.startsWith("%9"));
        QVERIFY(line.contains(QString::fromUtf8(
            " ..01-002 nolu istasyonun ortak yıl sayisi 2 yildir  tamamlayabileceği yilsayısı 1")));
        QCOMPARE(screen_->findChild<QListWidget*>("candidatePaths")->item(0)->text(),
                 QString("c:\\korvel2000\\Ankara\\01\\01-002"));

        QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {},
                          candidates->visualItemRect(candidates->item(0)).center());
        auto* referenceYears = screen_->findChild<QListWidget*>("List3");
        QVERIFY(referenceYears->isVisible());
        QCOMPARE(referenceYears->count(), 3);
        QCOMPARE(referenceYears->item(2)->text(), QString("2004"));
        QCOMPARE(incomplete->count(), 1);
        QVERIFY(screen_->fit() != nullptr);
        QCOMPARE(screen_->findChild<QLabel*>("fit")->text(),
                 QString::fromStdString(fitText(*screen_->fit(), Locale::turkish())));
        QVERIFY(screen_->findChild<QLabel*>("fit")->text().contains(" ----  "));

        // A year the target has already: nothing happens.
        QSignalSpy completed(screen_.get(), &CorrelationScreen::yearCompleted);
        doubleClick(referenceYears, 0);
        QCOMPARE(completed.count(), 0);
        QCOMPARE(screen_->findChild<QListWidget*>("targetYears")->count(), 2);

        doubleClick(referenceYears, 2);
        QCOMPARE(completed.count(), 1);
        QCOMPARE(screen_->findChild<QListWidget*>("targetYears")->item(2)->text(), QString("2004"));
        const auto days = readWaterYearFile(target_ / "2004_01-001.ard");
        QCOMPARE(days.size(), std::size_t(366));
        const CorrelationFit fit = *screen_->fit();
        QCOMPARE(days[0].meanValue, static_cast<float>(std::floor(10.0 * (300.0 - fit.a) / fit.b) / 10.0));
        QCOMPARE(days[0].source, "K " + line.left(3).toStdString() + "_01-002");
        // The ten days past the reference table stay empty; the user is told.
        QCOMPARE(days[365].meanValue, 0.0F);
        QCOMPARE(dialogs_.messages().size(), qsizetype(1));
        QVERIFY(dialogs_.messages().front().startsWith(QString::fromUtf8("10 gün")));

        // Completed once, the year is not completed again.
        doubleClick(referenceYears, 2);
        QCOMPARE(completed.count(), 1);
    }

    void cancelledScanKeepsTheButton() {
        QSignalSpy finished(screen_.get(), &CorrelationScreen::scanFinished);
        screen_->scanAllStations();
        screen_->cancelScan();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.front().front().toBool(), true);
        QVERIFY(!screen_->scanRunning());
        QVERIFY(screen_->findChild<QPushButton*>("Command1")->isVisible());
        QCOMPARE(screen_->findChild<QListWidget*>("List4")->count(), 0);
    }

private:
    std::unique_ptr<testing::ScratchDirectory> scratch_;
    fs::path target_;
    fs::path reference_;
    MemoryStationHub hub_;
    ScriptedDialogs dialogs_;
    AppContext context_;
    std::unique_ptr<CorrelationScreen> screen_;
};

QTEST_MAIN(CorrelationScreenTest)
#include "CorrelationScreenTest.moc"
