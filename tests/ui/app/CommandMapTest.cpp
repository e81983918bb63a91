#include "app/CommandMap.h"

#include "AppTestDrive.h"
#include "app/MainWindow.h"
#include "platform/Printing.h"
#include "platform/ScriptedDialogs.h"
#include "ui/charts/ChartWindow.h"
#include "ui/common/DeferredCommand.h"
#include "ui/flow/AnnualFlowScreen.h"
#include "ui/flow/LevelSheetScreen.h"
#include "ui/flow/MonthlyFlowScreen.h"
#include "ui/flow/RatingCurveScreen.h"
#include "ui/flow/YearbookScreen.h"
#include "ui/station/StationScreen.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

using namespace korvel;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(korvel::Screen)

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A screen standing in for the table screens of other parts of the program.
class StandInScreen : public QWidget {
    Q_OBJECT
public:
    StandInScreen(const AppContext&, StationHub&, QWidget* parent) : QWidget(parent) {
        setObjectName("standIn");
        resize(200, 100);
        ++made;
    }
    static inline int made = 0;
    int saves = 0;

public slots:
    void save() { ++saves; }
};

} // namespace

class CommandMapTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        StandInScreen::made = 0;
        dialogs_ = std::make_unique<ScriptedDialogs>();
        scope_ = std::make_unique<DialogProviderScope>(*dialogs_);
    }
    void cleanup() {
        window_.reset();
        drive_.reset();
        scope_.reset();
        dialogs_.reset();
    }

    // ---- start-up

    void startUpCreatesTheDataRootAndShowsTheStationScreenThere() {
        start(false);
        QVERIFY(fs::is_directory(drive_->dataRoot()));
        QCOMPARE(station().current().stationDir, drive_->dataRoot());
        QCOMPARE(drive_->settings().lastStationPath(), text("c:\\korvel2000"));
        QCOMPARE(window_->activeScreen(), static_cast<QWidget*>(&station()));
        for (const char* name : {"tablo1", "tablo2", "tablo3", "tablo4"})
            QVERIFY(!window_->command(name)->isEnabled());
    }

    void startUpKeepsTheStoredStationWhenTheDataRootExists() {
        drive_ = std::make_unique<test::TestDrive>(true);
        drive_->settings().setLastStationPath("c:\\korvel2000\\Ankara\\01\\01-002");
        window_ = std::make_unique<MainWindow>(drive_->context());
        window_->start();
        QCOMPARE(station().current().stationDir, drive_->station("01-002"));
        QCOMPARE(station().current().selectedFlowFile, std::string("2004_01-002.ard"));
    }

    // ---- station screen activation

    void stationScreenActivationSwitchesTheStationCommands() {
        start(true);
        QVERIFY(!window_->command("istasyonsecn")->isVisible());
        QVERIFY(window_->command("kaydetn")->isEnabled());
        QVERIFY(window_->command("yeniistasyonn")->isEnabled());

        auto* other = new QWidget;
        window_->openChild(other);
        QVERIFY(window_->command("istasyonsecn")->isVisible());
        QVERIFY(!window_->command("kaydetn")->isEnabled());
        QVERIFY(!window_->command("yeniistasyonn")->isEnabled());

        window_->command("istasyonsecn")->trigger();
        QCOMPARE(window_->activeScreen(), static_cast<QWidget*>(&station()));
        QVERIFY(!window_->command("istasyonsecn")->isVisible());
        QVERIFY(window_->command("kaydetn")->isEnabled());
    }

    void closingTheStationScreenOnlyHidesIt() {
        start(true);
        QPointer<StationScreen> screen(&station());
        window_->closeChild(screen);
        QVERIFY(screen != nullptr);
        QVERIFY(window_->command("istasyonsecn")->isVisible());
        QVERIFY(!window_->command("kaydetn")->isEnabled());
        window_->command("istasyonsecn")->trigger();
        QCOMPARE(window_->activeScreen(), static_cast<QWidget*>(screen.data()));
    }

    void recordCommandsReachTheStationScreen() {
        start(true);
        QVERIFY(!station().current().selectedFlowFile.empty());
        window_->command("yeniistasyonn")->trigger();
        QVERIFY(station().current().selectedFlowFile.empty());
        QCOMPARE(controlText(stationControls::kStationNumber), QString());
        window_->command("kaydetn")->trigger();
        QCOMPARE(dialogs_->messages(), QStringList{text("Lutfen istasyon numarası ve bölge adını giriniz")});
    }

    // ---- preconditions

    void stationCommandsAskForAStationFirst() {
        start(false);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        window_->command("limnigrafadirekbaglantın")->trigger();
        window_->command("seviyegozlemcetvelin")->trigger();
        window_->command("hqanahtarn")->trigger();
        QCOMPARE(dialogs_->messages(),
                 QStringList({text("Lütfen istasyon secimin yapınız"),
                              text("Lütfen istasyon secimini yapınız yada yeniden oluşturunuz"),
                              text("Lütfen istasyon secimin yapınız")}));
        QCOMPARE(requested.count(), 0);
    }

    void flowTableCommandsAskForAWaterYearFile() {
        start(false);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        window_->command("Aylıkn")->trigger();
        window_->command("yıllıkn")->trigger();
        QCOMPARE(dialogs_->messages(), QStringList({text("Lütfen su yılı dosyası seciniz"),
                                                    text("Lütfen su yılı dosyası seciniz")}));
        QCOMPARE(requested.count(), 0);
    }

    void commandsWithTheirPreconditionMetAskForTheirScreens() {
        start(true);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        window_->command("limnigrafadirekbaglantın")->trigger();
        window_->command("seviyegozlemcetvelin")->trigger();
        window_->command("hqanahtarn")->trigger();
        window_->command("Aylıkn")->trigger();
        window_->command("yıllıkn")->trigger();
        QCOMPARE(requestedScreens(requested),
                 QList<Screen>({Screen::LevelLogger, Screen::LevelSheet, Screen::HqTable, Screen::MonthlyFlow,
                                Screen::AnnualFlow}));
        // A screen this build does not have is named in a message instead.
        dialogs_->clear();
        window_->commands().setFactory(Screen::Correlation, {});
        window_->commands().open(Screen::Correlation);
        QCOMPARE(dialogs_->messages(),
                 QStringList({text("Bu bölüm bu sürümde henüz yok: İstasyonlar arası korelasyon")}));
    }

    void theModemCommandOpensTheTerminalModally() {
        start(true);
        window_->command("modemilebaglantı")->trigger();
        auto* terminal = window_->findChild<QDialog*>("frmTerminal");
        QVERIFY(terminal != nullptr);
        QVERIFY(terminal->isModal());
        QCOMPARE(terminal->windowTitle(), QString("Modem"));
        const QPointer<QDialog> closing(terminal);
        terminal->close();
        QTRY_VERIFY(closing.isNull());
    }

    void everyOpeningCommandAsksForItsOwnScreen() {
        start(true);
        const std::vector<std::pair<const char*, Screen>> routes = {
            {"suvakaktar", Screen::SuvakImport},
            {"korvel96aktar", Screen::Korvel96Import},
            {"korvel2000dosyalarıyollaal", Screen::Archive},
            {"dosyasilmen", Screen::FileDeletion},
            {"modemilebaglantı", Screen::ModemTerminal},
            {"bilgihamalı", Screen::DataCarrier},
            {"mulineilebaglantı", Screen::CurrentMeter},
            {"pluviometrefrm", Screen::RainLogger},
            {"kitapn", Screen::YearbookPage},
            {"suteminitablon", Screen::WaterSupply},
            {"olcukayıtkatn", Screen::MeasurementCard},
            {"suyılıaylıkdn", Screen::MonthlyTotals},
            {"korelasyonn", Screen::Correlation},
            {"p", Screen::RainAnalysis},
            {"iletişimn", Screen::PortSettings},
        };
        for (const auto& [command, screen] : routes) {
            QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
            window_->command(command)->trigger();
            QCOMPARE(requestedScreens(requested), QList<Screen>{screen});
        }
    }

    void tablo2NeedsExactlyThreeRainfallFilesAndOneFlowFile() {
        start(true);
        station().selectRainFile("2003_01-001  .yrd");
        station().selectRainFile("2004_01-001  .yrd");
        QAction* tablo2 = window_->command("tablo2");
        QVERIFY(!tablo2->isEnabled());
        tablo2->setEnabled(true);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        tablo2->trigger();
        QCOMPARE(requested.count(), 0);
        QVERIFY(dialogs_->calls().isEmpty());

        station().setStationDirectory(drive_->station("01-003"));
        station().selectRainFile("2004_01-003  .yrd");
        QVERIFY(tablo2->isEnabled());
        tablo2->trigger();
        QCOMPARE(requestedScreens(requested), QList<Screen>{Screen::BasinDaily});
    }

    void basinTableCommandsFollowTheSelectionLists() {
        start(true);
        const auto tablesEnabled = [this] {
            int enabled = 0;
            for (const char* name : {"tablo1", "tablo2", "tablo3", "tablo4"})
                enabled += window_->command(name)->isEnabled() ? 1 : 0;
            return enabled;
        };
        station().selectRainFile("2003_01-001  .yrd");
        station().selectRainFile("2004_01-001  .yrd");
        QCOMPARE(tablesEnabled(), 0);
        station().setStationDirectory(drive_->station("01-002"));
        station().selectRainFile("2004_01-002  .yrd");
        QCOMPARE(tablesEnabled(), 4);
        station().clearRainSelection();
        QCOMPARE(tablesEnabled(), 0);
        station().selectRainFile("2003_01-002  .yrd");
        station().selectRainFile("2004_01-002  .yrd");
        station().selectRainFile("2003_01-002  .yrd");
        QCOMPARE(tablesEnabled(), 4);
        station().clearFlowSelection();
        QCOMPARE(tablesEnabled(), 0);
    }

    // ---- screens, context menus and their commands

    void contextMenuShowsOnlyWhileItsScreenIsActive() {
        start(true);
        window_->commands().setFactory(Screen::LevelSheet, screenOf<StandInScreen>());
        QAction* menu = window_->menuEntry("sev122");
        QVERIFY(!menu->isVisible());

        window_->command("seviyegozlemcetvelin")->trigger();
        QPointer<QWidget> sheet = window_->commands().screen(Screen::LevelSheet);
        QVERIFY(sheet != nullptr);
        QCOMPARE(window_->activeScreen(), sheet.data());
        QVERIFY(menu->isVisible());

        window_->command("istasyonsecn")->trigger();
        QVERIFY(!menu->isVisible());
        window_->command("seviyegozlemcetvelin")->trigger();
        QCOMPARE(StandInScreen::made, 1);
        QVERIFY(menu->isVisible());

        window_->command("sevgozkapat")->trigger();
        QTRY_VERIFY(sheet == nullptr);
        QVERIFY(!menu->isVisible());
        QCOMPARE(window_->activeScreen(), static_cast<QWidget*>(&station()));
    }

    void flowTablesOpenAfresh() {
        start(true);
        window_->commands().setFactory(Screen::MonthlyFlow, screenOf<StandInScreen>());
        window_->command("Aylıkn")->trigger();
        QPointer<QWidget> first = window_->commands().screen(Screen::MonthlyFlow);
        window_->command("Aylıkn")->trigger();
        QTRY_VERIFY(first == nullptr);
        QCOMPARE(StandInScreen::made, 2);
        QVERIFY(window_->menuEntry("aylıkakımtabhesabn")->isVisible());
        window_->command("aylıkkapatn")->trigger();
        QTRY_VERIFY(window_->commands().screen(Screen::MonthlyFlow) == nullptr);
        QVERIFY(!window_->menuEntry("aylıkakımtabhesabn")->isVisible());
    }

    // "Kitap" builds the page again each time, from the flow file selected then.
    void yearbookPageIsBuiltFromTheFileSelectedNow() {
        start(true);
        station().selectFlowFile("2004_01-001.ard");
        window_->command("kitapn")->trigger();
        QPointer<QWidget> first = window_->commands().screen(Screen::YearbookPage);
        auto* page = qobject_cast<YearbookScreen*>(first.data());
        QVERIFY(page != nullptr);
        QVERIFY(page->sheet().text("Label7").find("30 eylül 2004") != std::string::npos);

        station().selectFlowFile("2003_01-001.ard");
        window_->command("kitapn")->trigger();
        QTRY_VERIFY(first.isNull());
        page = qobject_cast<YearbookScreen*>(window_->commands().screen(Screen::YearbookPage));
        QVERIFY(page != nullptr);
        QVERIFY(page->sheet().text("Label7").find("30 eylül 2003") != std::string::npos);
        QVERIFY(dialogs_->messages().isEmpty());
    }

    void yearbookPageAsksForAWaterYearFile() {
        start(false);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        window_->command("kitapn")->trigger();
        QCOMPARE(dialogs_->messages(), QStringList{text("Lütfen su yılı dosyası seciniz")});
        QCOMPARE(requested.count(), 0);
    }

    // With the level sheet open, the new year goes into its file list and is selected there, so
    // that the next save goes into it.
    void newWaterYearIsSelectedOnTheOpenLevelSheet() {
        start(true);
        window_->command("seviyegozlemcetvelin")->trigger();
        auto* sheet = qobject_cast<LevelSheetScreen*>(window_->commands().screen(Screen::LevelSheet));
        QVERIFY(sheet != nullptr);
        dialogs_->queueInput("2005");
        window_->command("yenisuyılekle")->trigger();
        QVERIFY(fs::exists(drive_->station("01-001") / "2005_01-001.ard"));
        QCOMPARE(sheet->selectedFile(), QStringLiteral("2005_01-001.ard"));
        auto* files = sheet->findChild<QListWidget*>("File1");
        QCOMPARE(files->item(files->count() - 1)->text(), QStringLiteral("2005_01-001.ard"));
        QCOMPARE(station().current().selectedFlowFile, std::string("2005_01-001.ard"));
    }

    // A printer that cannot start a page: every print command of an open screen says so.
    void printCommandsReportAPrinterThatIsNotReady() {
        start(true);
        applicationPrinter().setOutputFormat(QPrinter::PdfFormat);
        applicationPrinter().setOutputFileName(
            QString::fromStdString((drive_->drive() / "yok" / "x.pdf").string()));
        window_->command("Aylıkn")->trigger();
        window_->command("yıllıkn")->trigger();
        window_->command("kitapn")->trigger();
        window_->command("seviyegozlemcetvelin")->trigger();
        window_->command("suteminitablon")->trigger();
        dialogs_->clear();
        const QStringList prints = {"yazdıraylık", "yazdıryıllıkn", "kyazdırn", "sevgozyazdır",
                                    "sutemintablosuyazn"};
        for (const QString& command : prints)
            window_->command(command)->trigger();
        QCOMPARE(dialogs_->messages(), QStringList(QList<QString>(prints.size(), kPrintFailedMessage)));
        applicationPrinter().setOutputFileName(QString());
        applicationPrinter().setOutputFormat(QPrinter::NativeFormat);
    }

    void stationDoubleClicksOpenTheirScreens() {
        start(true);
        QSignalSpy requested(&window_->commands(), &CommandMap::screenRequested);
        emit station().flowFileOpened();
        emit station().hqFileOpened();
        emit station().rainFileOpened();
        QCOMPARE(requestedScreens(requested),
                 QList<Screen>({Screen::AnnualFlow, Screen::HqTable, Screen::RainAnalysis}));
    }

    void annualChartCloseHidesItsMenu() {
        start(true);
        window_->commands().setFactory(Screen::AnnualChart, screenOf<StandInScreen>());
        window_->commands().open(Screen::AnnualChart);
        QVERIFY(window_->menuEntry("yıllıkgrafik")->isVisible());
        window_->command("yıllıkgrkapat")->trigger();
        QVERIFY(!window_->menuEntry("yıllıkgrafik")->isVisible());
        QTRY_VERIFY(window_->commands().screen(Screen::AnnualChart) == nullptr);
    }

    // The charts draw the figures of the open tables of the demo station's water year.
    void chartCommandsChartTheOpenTables() {
        start(true);
        window_->command("aylıkakımgraf")->trigger();
        QVERIFY(window_->commands().screen(Screen::MonthlyChart) == nullptr);
        QVERIFY(dialogs_->messages().isEmpty());

        window_->command("Aylıkn")->trigger();
        auto* monthly = qobject_cast<MonthlyFlowScreen*>(window_->commands().screen(Screen::MonthlyFlow));
        QVERIFY(monthly != nullptr);
        window_->command("aylıkakımgraf")->trigger();
        auto* monthChart =
            qobject_cast<MonthlyChartScreen*>(window_->commands().screen(Screen::MonthlyChart));
        QVERIFY(monthChart != nullptr);
        const MonthChartData expected = monthChartData(monthly->monthFlow(), Locale{});
        QVERIFY(expected.dayCount > 0);
        QCOMPARE(monthChart->data().discharge.segments, expected.discharge.segments);
        QCOMPARE(monthChart->data().level.segments, expected.level.segments);
        QVERIFY(window_->menuEntry("aylıkgrafn")->isVisible());

        window_->command("yıllıkn")->trigger();
        auto* annual = qobject_cast<AnnualFlowScreen*>(window_->commands().screen(Screen::AnnualFlow));
        QVERIFY(annual != nullptr);
        window_->command("yıllıkakımgrafn")->trigger();
        auto* yearChart = qobject_cast<AnnualChartScreen*>(window_->commands().screen(Screen::AnnualChart));
        QVERIFY(yearChart != nullptr);
        QCOMPARE(yearChart->data().discharge.segments,
                 annualChartData(annual->annualFlow()).discharge.segments);
        QVERIFY(yearChart->data().dayCount >= 365);
        QVERIFY(window_->menuEntry("yıllıkgrafik")->isVisible());
    }

    void saveCommandsOfTheHqTableAndCardRunDeferred() {
        start(true);
        window_->command("hqanahtarn")->trigger();
        QWidget* hq = window_->commands().screen(Screen::HqTable);
        QVERIFY(hq != nullptr);
        auto* fill = hq->findChild<DeferredCommand*>("Timer1");
        auto* save = hq->findChild<DeferredCommand*>("Timer2");
        QVERIFY(fill != nullptr && save != nullptr);
        window_->command("hqtabloboluktam")->trigger();
        window_->command("hqkaydetn")->trigger();
        // The menu handler only arms the screen's timers; the work follows once the menu closed.
        QVERIFY(fill->isArmed());
        QVERIFY(save->isArmed());
        QTRY_VERIFY(!fill->isArmed() && !save->isArmed());

        window_->command("olcukayıtkatn")->trigger();
        QWidget* card = window_->commands().screen(Screen::MeasurementCard);
        QVERIFY(card != nullptr);
        auto* cardSave = card->findChild<DeferredCommand*>("Timer1");
        QVERIFY(cardSave != nullptr);
        window_->command("olcukkaydetn")->trigger();
        QVERIFY(cardSave->isArmed());
        QTRY_VERIFY(!cardSave->isArmed());
    }

    void ratingCurveOpensFromTheHqAndCardMenus() {
        start(true);
        for (const char* command : {"hqanahtaregrisi", "olcuanahtaregrisi"}) {
            window_->commands().close(Screen::RatingCurve);
            window_->command(command)->trigger();
            auto* rating = qobject_cast<RatingCurveScreen*>(window_->commands().screen(Screen::RatingCurve));
            QVERIFY2(rating != nullptr, command);
            QVERIFY(rating->fit().has_value());
        }
    }

    void newYearCommandsOfTheContextMenusCreateTheirFiles() {
        start(true);
        window_->commands().setFactory(Screen::LevelSheet, screenOf<StandInScreen>());
        window_->commands().setFactory(Screen::RainAnalysis, screenOf<StandInScreen>());
        window_->command("seviyegozlemcetvelin")->trigger();
        dialogs_->queueInput("2005");
        window_->command("yenisuyılekle")->trigger();
        QVERIFY(fs::exists(drive_->station("01-001") / "2005_01-001.ard"));

        window_->command("p")->trigger();
        dialogs_->queueInput("2005");
        window_->command("yenisuyılıekleyagıs")->trigger();
        QVERIFY(fs::exists(drive_->station("01-001") / "2005_01-001  .yrd"));
        QCOMPARE(dialogs_->calls().at(0).text, text("Lütfen oluşturulacak su yılını giriniz"));
        QCOMPARE(dialogs_->calls().at(0).defaultAnswer, text("2005"));
        QCOMPARE(dialogs_->calls().at(1).text, text("Yeni su yılını gririniz"));
    }

    // ---- the older program

    void missingOlderProgramIsReported() {
        start(false);
        window_->command("korvel96n")->trigger();
        QCOMPARE(dialogs_->messages(),
                 QStringList{text("Korvel96 programı bulunamadı: c:\\korvel96\\korvel96.exe")});
    }

    void olderProgramIsStartedAndTheWindowKeepsRunning() {
        start(false);
        const fs::path dir = drive_->drive() / "korvel96";
        fs::create_directories(dir);
        const fs::path program = dir / "korvel96.exe";
        std::ofstream(program) << "#!/bin/sh\ntouch \"" << (dir / "started").string() << "\"\n";
        fs::permissions(program, fs::perms::owner_all);
        window_->command("korvel96n")->trigger();
        QTRY_VERIFY(fs::exists(dir / "started"));
        QVERIFY(dialogs_->messages().isEmpty());
    }

    void olderProgramThatCannotStartIsReported() {
        start(false);
        const fs::path dir = drive_->drive() / "korvel96";
        fs::create_directories(dir);
        std::ofstream(dir / "korvel96.exe") << "MZ";
        fs::permissions(dir / "korvel96.exe", fs::perms::owner_read | fs::perms::owner_write);
        window_->command("korvel96n")->trigger();
        QCOMPARE(dialogs_->messages(),
                 QStringList{text("Korvel96 programı başlatılamadı: c:\\korvel96\\korvel96.exe")});
    }

private:
    void start(bool demo) {
        drive_ = std::make_unique<test::TestDrive>(demo);
        if (demo)
            drive_->settings().setLastStationPath("c:\\korvel2000\\Ankara\\01\\01-001");
        window_ = std::make_unique<MainWindow>(drive_->context());
        window_->start();
    }

    StationScreen& station() { return window_->stationScreen(); }

    QString controlText(const QString& name) { return station().findChild<QLineEdit*>(name)->text(); }

    static QList<Screen> requestedScreens(const QSignalSpy& spy) {
        QList<Screen> screens;
        for (const QList<QVariant>& call : spy)
            screens.append(call.at(0).value<Screen>());
        return screens;
    }

    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<DialogProviderScope> scope_;
    std::unique_ptr<test::TestDrive> drive_;
    std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(CommandMapTest)
#include "CommandMapTest.moc"
