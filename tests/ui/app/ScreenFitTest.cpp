#include "AppTestDrive.h"
#include "app/CommandMap.h"
#include "app/MainWindow.h"
#include "platform/ScriptedDialogs.h"
#include "ui/common/GridView.h"
#include "ui/station/StationScreen.h"

#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

using namespace korvel;

// Every table screen of the demo drive, opened at its default size in a main window of its
// default size on a 1600×1000 screen, shows every cell whole and is not smaller than its content.
class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyTableScreenShowsEveryFigureWhole() {
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        test::TestDrive drive(true);
        drive.settings().setLastStationPath("c:\\korvel2000\\Ankara\\01\\01-001");
        MainWindow window(drive.context());
        window.start();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        StationScreen& station = window.stationScreen();
        station.setStationDirectory(drive.station("01-001"));
        station.selectFlowFile("2004_01-001.ard");
        station.selectRainFile("2004_01-001  .yrd");

        const QList<Screen> screens = {Screen::MonthlyFlow,  Screen::AnnualFlow,    Screen::YearbookPage,
                                       Screen::WaterSupply,  Screen::HqTable,       Screen::MeasurementCard,
                                       Screen::LevelSheet,   Screen::MonthlyTotals, Screen::RatingCurve,
                                       Screen::RainAnalysis, Screen::Correlation,   Screen::AnnualChart,
                                       Screen::MonthlyChart, Screen::FlowDuration,  Screen::RainfallIdf};
        QStringList opened;
        for (Screen screen : screens) {
            QWidget* shown = window.commands().open(screen);
            dialogs.clear();
            if (shown == nullptr)
                continue;
            QTest::qWait(20);
            opened << shown->objectName();
            checkWindowHoldsItsContent(window, shown);
            for (const GridView* grid : shown->findChildren<GridView*>())
                checkEveryCellFits(shown->objectName(), grid);
        }
        // The tables a hydrologist hands in are among them.
        for (const char* name :
             {"aylıkgridfrm", "Yıllıkfrm", "kitapfrm", "sutemini", "OLCOKAYITKARTI", "hqanahtarfrm"})
            QVERIFY2(opened.contains(QString::fromUtf8(name)), qPrintable(opened.join(", ")));
    }

    void theMainWindowRemembersWhereItWas() {
        test::TestDrive drive(false);
        {
            MainWindow window(drive.context());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.resize(900, 700);
            window.move(40, 30);
            QTest::qWait(20);
            window.close();
        }
        MainWindow again(drive.context());
        QCOMPARE(again.size(), QSize(900, 700));
        // Without a remembered place the window opens at its default size, within the screen.
        QCOMPARE(MainWindow::defaultSize(QRect(0, 0, 1280, 720)), QSize(1260, 680));
        QVERIFY(MainWindow::defaultSize(QRect(0, 0, 1920, 1080)).width() >= 1500);
    }

private:
    static void checkWindowHoldsItsContent(const MainWindow& window, QWidget* screen) {
        const QString name = screen->objectName();
        // A chart is drawn to the size of its window: it opens large enough to read the axes.
        if (name.endsWith(QStringLiteral("graffrm")))
            QVERIFY2(screen->width() >= 900 && screen->height() >= 560, qPrintable(name));
        const QSize wanted = screen->minimumSizeHint();
        QVERIFY2(screen->width() >= wanted.width() && screen->height() >= wanted.height(),
                 qPrintable(QStringLiteral("%1 is %2×%3, its content %4×%5")
                                .arg(name)
                                .arg(screen->width())
                                .arg(screen->height())
                                .arg(wanted.width())
                                .arg(wanted.height())));
        if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget())) {
            const QRect area = window.mdiArea()->viewport()->rect();
            const bool fits = frame->width() <= area.width() && frame->height() <= area.height();
            QVERIFY2(!fits || area.contains(frame->geometry()),
                     qPrintable(name + QStringLiteral(" opens outside the main window")));
        }
    }

    // A column shows its widest cell whole; a grid without scroll bars shows all its columns.
    static void checkEveryCellFits(const QString& screen, const GridView* grid) {
        const QFontMetrics metrics(grid->font());
        const Table& table = grid->table();
        int columns = 0;
        for (int c = 0; c < table.columns(); ++c) {
            const int width = grid->columnWidth(c);
            columns += width;
            if (width == 0)
                continue;
            for (int r = 0; r < table.rows(); ++r) {
                for (const QString& line :
                     QString::fromStdString(table.cell(r, c)).split(QLatin1Char('\n'))) {
                    const int needed = metrics.horizontalAdvance(line.trimmed()) + 4;
                    QVERIFY2(needed <= width,
                             qPrintable(QStringLiteral("%1/%2 cell (%3,%4) \"%5\" needs %6 px, has %7")
                                            .arg(screen, grid->objectName())
                                            .arg(r)
                                            .arg(c)
                                            .arg(line)
                                            .arg(needed)
                                            .arg(width)));
                }
            }
        }
        if (grid->isVisible() && grid->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
            QVERIFY2(
                grid->viewport()->width() + 1 >= columns,
                qPrintable(QStringLiteral("%1/%2 cuts its last columns").arg(screen, grid->objectName())));
    }
};

QTEST_MAIN(ScreenFitTest)
#include "ScreenFitTest.moc"
