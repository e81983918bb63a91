#include "ui/totals/MonthlyTotalsScreen.h"

#include "common/ScratchDirectory.h"
#include "platform/ScriptedDialogs.h"
#include "store/WaterYearFile.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>
#include <memory>

using namespace korvel;

namespace {

class CountingHub : public MemoryStationHub {
public:
    int refreshes = 0;
    void refreshFileLists() override { ++refreshes; }
};

} // namespace

class MonthlyTotalsScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scratch_ = std::make_unique<testing::ScratchDirectory>();
        hub_.state.stationDir = scratch_->path();
        hub_.state.record.stationNumber = "01-001  ";
        hub_.refreshes = 0;
        dialogs_.clear();
        context_.paths = Paths(scratch_->path());
        context_.locale = Locale::turkish();
        screen_ = std::make_unique<MonthlyTotalsScreen>(context_, hub_);
        screen_->show();
        grid_ = screen_->findChild<GridView*>("MSFlexGrid1");
        year_ = screen_->findChild<QLineEdit*>("Text1");
    }
    void cleanup() {
        screen_.reset();
        scratch_.reset();
    }

    void controlsAndHeadings() {
        QCOMPARE(screen_->objectName(), QString("debiden"));
        QCOMPARE(screen_->windowTitle(),
                 QString::fromUtf8("Su yıllığının aylık toplam akımlardan elde edilmesi."));
        QVERIFY(grid_ != nullptr && year_ != nullptr);
        QCOMPARE(grid_->table().rows(), 2);
        QCOMPARE(grid_->cell(0, 0), std::string("Ekim"));
        QCOMPARE(grid_->cell(0, 11), std::string("Eylül"));
        QCOMPARE(screen_->findChild<QPushButton*>("Command1")->text(), QString("Kaydet"));
        QCOMPARE(screen_->findChild<QPushButton*>("Command2")->text(), QString::fromUtf8("Yeni su yılı"));
        QCOMPARE(screen_->findChild<QPushButton*>("Command3")->text(), QString::fromUtf8("Çıkış"));
    }

    void totalsAreKeyedAndTheYearWritten() {
        const DialogProviderScope scope(dialogs_);
        grid_->setCurrentCell(1, 0);
        QTest::keyClicks(grid_, "2.678");
        QCOMPARE(grid_->cell(1, 0), std::string("2,678"));
        QTest::keyClick(grid_, Qt::Key_Return);
        QCOMPARE(grid_->currentColumn(), 1);
        QTest::keyClicks(grid_, "123456789"); // eight characters at most
        QCOMPARE(grid_->cell(1, 1), std::string("12345678"));
        for (int c = 1; c < 12; ++c) {
            grid_->setCurrentCell(1, c);
            grid_->setCell(1, c, "");
            QTest::keyClicks(grid_, "3");
            QTest::keyClick(grid_, Qt::Key_Return);
        }
        QCOMPARE(grid_->currentColumn(), 11); // Enter on the last month stays

        QTest::mouseClick(screen_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(dialogs_.messages(), QStringList{QString::fromUtf8("Lütfen su yılını doğru giriniz")});

        year_->setText("2004");
        dialogs_.clear();
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(dialogs_.messages(), QStringList{QString::fromUtf8("su yılı oluşturuldu ve katıt edildi")});
        QCOMPARE(hub_.refreshes, 1);
        const auto days = readWaterYearFile(scratch_->path() / "2004_01-001.ard");
        QCOMPARE(days.size(), std::size_t(366));
        QVERIFY(std::abs(days[0].meanValue - 0.99985F) < 1e-5F);
        QCOMPARE(days[200].source, std::string("G           "));
    }

    // Over a file holding logger days the screen asks first, naming how many; "Hayır" leaves it.
    void measuredDaysAreReplacedOnlyWhenTheUserSaysSo() {
        const DialogProviderScope scope(dialogs_);
        const auto created = createWaterYear(scratch_->path(), 2004, "01-001");
        auto days = readWaterYearFile(created.file);
        for (std::size_t k : {3u, 4u, 5u})
            days[k].source = "L  korvelmaş";
        std::map<std::size_t, DayRecord> logger;
        for (std::size_t k : {3u, 4u, 5u})
            logger.emplace(k + 1, days[k]);
        writeDayRecords(created.file, logger);
        for (int c = 0; c < 12; ++c)
            grid_->setCell(1, c, "1");
        year_->setText("2004");

        dialogs_.queueAnswer(false);
        screen_->buildYearFromMonthlyTotals();
        QCOMPARE(dialogs_.calls().size(), 1);
        QCOMPARE(dialogs_.calls().at(0).kind, ScriptedDialogs::Kind::YesNo);
        QVERIFY(dialogs_.calls().at(0).text.contains(QString::fromUtf8("ölçülmüş 3 gün")));
        QCOMPARE(readWaterYearFile(created.file)[4].source, std::string("L  korvelmaş"));
        QCOMPARE(hub_.refreshes, 0);

        dialogs_.clear();
        dialogs_.queueAnswer(true);
        screen_->buildYearFromMonthlyTotals();
        QCOMPARE(dialogs_.messages(), QStringList{QString::fromUtf8("su yılı oluşturuldu ve katıt edildi")});
        QCOMPARE(readWaterYearFile(created.file)[4].source, std::string("G           "));
    }

    void checksComeInOrder() {
        const DialogProviderScope scope(dialogs_);
        year_->setText("03");
        screen_->buildYearFromMonthlyTotals();
        QCOMPARE(dialogs_.messages(), QStringList{QString::fromUtf8("Lütfen eksik deger birakmayınız..")});
        for (int c = 0; c < 12; ++c)
            grid_->setCell(1, c, "1");
        year_->setText("20x4");
        screen_->buildYearFromMonthlyTotals();
        QCOMPARE(dialogs_.messages().last(), QString::fromUtf8("Lütfen su yılını giriniz"));
        QVERIFY(std::filesystem::is_empty(scratch_->path()));
        QCOMPARE(hub_.refreshes, 0);
    }

    void newYearCountsOnAndClearsTheGrid() {
        screen_->setToday([] { return QDate(2006, 3, 1); });
        grid_->setCell(1, 4, "5");
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(year_->text(), QString("2006"));
        year_->setText("2004");
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(year_->text(), QString("2005"));
        QCOMPARE(grid_->cell(1, 4), std::string());
        QCOMPARE(grid_->cell(0, 4), std::string("Şubat"));
    }

    void exitClosesTheWindow() {
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QVERIFY(!screen_->isVisible());
    }

private:
    std::unique_ptr<testing::ScratchDirectory> scratch_;
    CountingHub hub_;
    ScriptedDialogs dialogs_;
    AppContext context_;
    std::unique_ptr<MonthlyTotalsScreen> screen_;
    GridView* grid_ = nullptr;
    QLineEdit* year_ = nullptr;
};

QTEST_MAIN(MonthlyTotalsScreenTest)
#include "MonthlyTotalsScreenTest.moc"
