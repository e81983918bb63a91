#include "ui/supply/WaterSupplyScreen.h"

#include "common/PdfText.h"
#include "common/ScratchDirectory.h"
#include "flow/WaterSupply.h"
#include "flow/YearFixtures.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace korvel;

class WaterSupplyScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scratch_ = std::make_unique<testing::ScratchDirectory>();
        // Five water years whose October carries 1.5 m3/s in all (0.13 million m3 shown).
        for (int year = 2001; year <= 2005; ++year)
            testing::writeYear(scratch_->path() / waterYearFileName(year, "01-001"),
                               testing::waterYearDays(year, [year](OleDate d) {
                                   const bool first = d.month() == 10 && d.day() == 1;
                                   return testing::dischargeDay(d, first ? 1.5F
                                                                         : (d.month() == 11 ? year : 0.0F));
                               }));
        hub_.state.stationDir = scratch_->path();
        hub_.state.record.stationNumber = "01-001  ";
        context_.paths = Paths(scratch_->path());
        context_.locale = Locale::turkish();
        screen_ = std::make_unique<WaterSupplyScreen>(context_, hub_);
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
        files_ = screen_->findChild<QListWidget*>("File1");
        grid_ = screen_->findChild<GridView*>("MSFlexGrid3");
    }
    void cleanup() {
        screen_.reset();
        scratch_.reset();
    }

    void screenShowsTheStationAndTheEmptyTable() {
        QCOMPARE(screen_->objectName(), QString("sutemini"));
        QCOMPARE(screen_->windowTitle(), QString("Su temini tablosu"));
        QCOMPARE(files_->count(), 5);
        QCOMPARE(files_->item(0)->text(), QString("2001_01-001.ard"));
        QCOMPARE(screen_->findChild<QLabel*>("title")->text(), QString("Su Temini Tablosu"));
        QCOMPARE(screen_->findChild<QLabel*>("units")->text(),
                 QString::fromUtf8("Birimler :  Milyon metre küp"));
        QVERIFY(screen_->findChild<QLabel*>("stationNumber")
                    ->text()
                    .startsWith("Agi No..............:   01-001"));
        QCOMPARE(grid_->table().rows(), 42);
        QCOMPARE(grid_->cell(40, 0), std::string("Top."));
        QCOMPARE(screen_->findChild<QPushButton*>("Command1")->text(),
                 QString::fromUtf8("Bütün yılları hesabla"));
    }

    void clickingAFileTwiceAddsItsYearOnce() {
        QListWidgetItem* item = files_->item(2);
        QTest::mouseClick(files_->viewport(), Qt::LeftButton, {}, files_->visualItemRect(item).center());
        QCOMPARE(grid_->cell(1, 0), std::string("2003"));
        QCOMPARE(grid_->cell(1, 1), std::string("0,13"));
        QCOMPARE(grid_->cell(1, 2), std::string("5191,78")); // 2003 m3/s on each of 30 days
        QTest::mouseClick(files_->viewport(), Qt::LeftButton, {}, files_->visualItemRect(item).center());
        QCOMPARE(screen_->table().rowCount(), 1);
        QCOMPARE(grid_->cell(2, 0), std::string());
    }

    void allYearsInListOrderWithTheirMeans() {
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(screen_->table().rowCount(), 5);
        for (int r = 1; r <= 5; ++r)
            QCOMPARE(grid_->cell(r, 0), std::to_string(2000 + r));
        QCOMPARE(grid_->cell(40, 1), std::string("0,65"));
        QCOMPARE(grid_->cell(41, 1), std::string("0,13"));
        for (int c = 1; c <= 13; ++c) {
            const double total = *Locale::turkish().parseNumber(grid_->cell(40, c));
            const double mean = *Locale::turkish().parseNumber(grid_->cell(41, c));
            QVERIFY(std::abs(mean - total / 5) <= 0.005 + 1e-9);
        }
    }

    void printLeavesOutTheListAndTheButton() {
        QTest::mouseClick(screen_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        const QString pdf = QString::fromStdString((scratch_->path() / "supply.pdf").string());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(screen_->print(printer));
        QVERIFY(QFileInfo(pdf).size() > 0);
        // The report: every month, the total and mean rows and the texts, as text.
        if (testing::havePdftotext()) {
            const auto missing =
                testing::missingFromPdf(screen_->reportSheet(), testing::pdfText(pdf.toStdString()));
            QVERIFY2(missing.empty(), missing.empty() ? "" : missing.front().c_str());
        }
        QVERIFY(files_->isVisible());
        QVERIFY(screen_->findChild<QPushButton*>("Command1")->isVisible());

        QMenu* menu = screen_->windowMenu();
        QCOMPARE(menu->title(), QString("Su temini tablosu"));
        QCOMPARE(menu->findChild<QAction*>("sutemintablosuyazn")->text(),
                 QString::fromUtf8("Su temini tablosunu yazdır"));
        QAction* close = menu->findChild<QAction*>("suteminikapatn");
        QCOMPARE(close->text(), QString("Su temini tablosunu kapat"));
        close->trigger();
        QVERIFY(!screen_->isVisible());
    }

private:
    std::unique_ptr<testing::ScratchDirectory> scratch_;
    MemoryStationHub hub_;
    AppContext context_;
    std::unique_ptr<WaterSupplyScreen> screen_;
    QListWidget* files_ = nullptr;
    GridView* grid_ = nullptr;
};

QTEST_MAIN(WaterSupplyScreenTest)
#include "WaterSupplyScreenTest.moc"
