#include "FlowScreenFixture.h"
#include "common/PdfText.h"
#include "flow/AnnualFlow.h"
#include "flow/YearbookPage.h"
#include "platform/ScriptedDialogs.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "ui/common/SheetView.h"
#include "ui/flow/AnnualFlowScreen.h"
#include "ui/flow/YearbookScreen.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>

using namespace korvel;
using namespace korvel::test;

class AnnualAndYearbookScreenTest : public QObject {
    Q_OBJECT

private slots:
    void bothRefuseToOpenWithoutFlowFile() {
        DemoStation station;
        station.hub.selectFlowFile("");
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        QVERIFY(AnnualFlowScreen::open(station.context, station.hub) == nullptr);
        QVERIFY(YearbookScreen::open(station.context, station.hub) == nullptr);
        QCOMPARE(dialogs.messages(), QStringList(2, QStringLiteral("Lütfen su yılı dosyası seciniz")));
    }

    void annualTableShowsTheComputedSheet() {
        DemoStation station;
        std::unique_ptr<AnnualFlowScreen> screen(AnnualFlowScreen::open(station.context, station.hub));
        QVERIFY(screen);
        screen->resize(1250, 900);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        saveScreenshot(screen.get(), "Yillikfrm");
        QCOMPARE(screen->objectName(), QStringLiteral("Yıllıkfrm"));

        const Sheet expected =
            fillAnnualTable(readWaterYearFile(station.flowFile()), loadHqTableSet(station.dir),
                            station.hub.state.record, "2004_01-001.ard", station.context.locale);
        const Sheet shown = readSheet(screen.get(), expected);
        for (const char* grid : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3", "MSFlexGrid4"})
            QCOMPARE(*shown.findTable(grid), *expected.findTable(grid));
        QCOMPARE(shown.texts(), expected.texts());

        auto* keys = screen->findChild<QListWidget*>("List1");
        QVERIFY(!keys->isEnabled());
        QCOMPARE(keys->count(), 1);
        QCOMPARE(keys->item(0)->text(), QStringLiteral("02...01.10.2003   30.09.2004"));
        QVERIFY(keys->selectedItems().isEmpty());
    }

    void copyMenusAndMonthDoubleClick() {
        DemoStation station;
        std::unique_ptr<AnnualFlowScreen> screen(AnnualFlowScreen::open(station.context, station.hub));
        screen->resize(1250, 900);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));

        auto* summaryMenu = gridOf(screen.get(), "MSFlexGrid3")->copyMenu();
        QCOMPARE(summaryMenu->objectName(), QStringLiteral("kesmen9"));
        QCOMPARE(gridOf(screen.get(), "MSFlexGrid2")->copyMenu()->objectName(), QStringLiteral("kesmen8"));
        QCOMPARE(gridOf(screen.get(), "MSFlexGrid4")->copyMenu()->objectName(), QStringLiteral("kesmen10"));
        summaryMenu->findChild<QAction*>("kes9")->trigger();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied.count('\t'), 65);
        QCOMPARE(copied.count("\r\n"), 5);

        QSignalSpy requested(screen.get(), &AnnualFlowScreen::monthRequested);
        doubleClickCell(gridOf(screen.get(), "MSFlexGrid1"), 0, 5);
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested.front().front().toInt(), 4);
        QCOMPARE(station.hub.state.monthIndex, 4);

        const auto printer = station.pdfPrinter("annual.pdf");
        QVERIFY(screen->print(*printer));
        expectWholeReport(screen->reportSheet(), station.drive.filePath("annual.pdf"));
    }

    void yearbookPageIsEditableAndPrints() {
        DemoStation station;
        std::unique_ptr<YearbookScreen> screen(YearbookScreen::open(station.context, station.hub));
        QVERIFY(screen);
        screen->resize(1150, 950);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        saveScreenshot(screen.get(), "kitapfrm");
        QCOMPARE(screen->objectName(), QStringLiteral("kitapfrm"));
        QCOMPARE(screen->windowTitle(), QStringLiteral("Kitap "));
        QCOMPARE(screen->findChild<QLabel*>("Label7")->text(),
                 QStringLiteral("Akımlar 1 ekim 2003 den 30 eylül 2004 ' a kadar saniyede metre küp olarak"));
        QVERIFY(screen->findChild<QLineEdit*>("Text6")->text().startsWith(
            QStringLiteral("Gözlem süresinde  ...... (10 yıllık) 2004 su yılında ")));

        const Sheet expected =
            fillYearbookPage(readWaterYearFile(station.flowFile()), loadHqTableSet(station.dir),
                             station.hub.state.record, "2004_01-001.ard", 10, station.context.locale);
        const Sheet shown = readSheet(screen.get(), expected);
        for (const char* grid : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3"})
            QCOMPARE(*shown.findTable(grid), *expected.findTable(grid));
        QCOMPARE(shown.texts(), expected.texts());

        GridView* extremes = gridOf(screen.get(), "MSFlexGrid1");
        typeInto(extremes, 3, 1, "12.372,5");
        QCOMPARE(extremes->cell(3, 1), std::string("12.372,5"));
        QTest::keyClick(extremes, Qt::Key_Return);
        QCOMPARE(extremes->currentRow(), 4);
        typeInto(extremes, 4, 0, "9");
        QCOMPARE(extremes->cell(4, 0), std::string("Gözlem süresinde anlık en az akım"));

        auto* text6 = screen->findChild<QLineEdit*>("Text6");
        text6->setText(text6->text().replace("......", "812,4"));
        const auto printer = station.pdfPrinter("kitap.pdf");
        QVERIFY(screen->print(*printer));
        QVERIFY(text6->text().contains("812,4"));
        const Sheet report = screen->reportSheet();
        QVERIFY(report.labelledText("Text1") == "Yeri.: " + report.text("Text1"));
        expectWholeReport(report, station.drive.filePath("kitap.pdf"));
    }

private:
    // The printout is text: every cell, every text with its screen label, and the caption.
    static void expectWholeReport(const Sheet& report, const QString& pdf) {
        QVERIFY(isPdf(pdf));
        if (!testing::havePdftotext())
            QSKIP(testing::kNoPdftotext);
        const std::string text = testing::pdfText(pdf.toStdString());
        const auto missing = testing::missingFromPdf(report, text);
        QVERIFY2(missing.empty(), missing.empty() ? "" : missing.front().c_str());
        QVERIFY(text.find("Text1:") == std::string::npos);
    }
};

QTEST_MAIN(AnnualAndYearbookScreenTest)
#include "AnnualAndYearbookScreenTest.moc"
