#include "app/CommandMap.h"

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/MenuTree.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "ui/basin/BasinScreens.h"
#include "ui/book/NetworkYearbookDialog.h"
#include "ui/card/MeasurementCardScreen.h"
#include "ui/charts/ChartWindow.h"
#include "ui/common/AppContext.h"
#include "ui/common/DeferredCommand.h"
#include "ui/common/Export.h"
#include "ui/correlation/CorrelationScreen.h"
#include "ui/flow/AnnualFlowScreen.h"
#include "ui/flow/FlowRecordScreens.h"
#include "ui/flow/HqTableScreen.h"
#include "ui/flow/LevelSheetScreen.h"
#include "ui/flow/MonthlyFlowScreen.h"
#include "ui/flow/RatingCurveScreen.h"
#include "ui/flow/YearbookScreen.h"
#include "ui/instruments/CurrentMeterForms.h"
#include "ui/instruments/LevelLoggerForm.h"
#include "ui/instruments/ModemTerminalForm.h"
#include "ui/instruments/PortSettingsForm.h"
#include "ui/instruments/RainLoggerForm.h"
#include "ui/journal/ChangeHistoryScreen.h"
#include "ui/rain/IdfScreen.h"
#include "ui/rain/RainAnalysisScreen.h"
#include "ui/rain/RainDayTableScreen.h"
#include "ui/station/NewYearCommands.h"
#include "ui/station/StationScreen.h"
#include "ui/supply/WaterSupplyScreen.h"
#include "ui/totals/MonthlyTotalsScreen.h"
#include "ui/transfer/ArchiveScreen.h"
#include "ui/transfer/DeletionScreen.h"
#include "ui/transfer/Korvel96TransferScreen.h"
#include "ui/transfer/SuvakTransferScreen.h"

#include <QAction>
#include <QDialog>
#include <QProcess>

namespace korvel {

namespace {

const QString kKorvel96Program = QStringLiteral("c:\\korvel96\\korvel96.exe");

// The screens, how each opens and the context menu it shows. A screen that this version does
// not have yet has no factory.
std::vector<ScreenSpec> screenTable() {
    using O = Opening;
    return {
        {Screen::LevelSheet, QStringLiteral("Seviye gözlem cetveli (Eşel)"), O::Child,
         QStringLiteral("sev122"), screenOf<LevelSheetScreen>()},
        {Screen::MonthlyFlow, QStringLiteral("Seviye gözlem cetveli (Limnigraf)"), O::Child,
         QStringLiteral("aylıkakımtabhesabn"), screenOf<MonthlyFlowScreen>()},
        {Screen::AnnualFlow, QStringLiteral("Yıllık akım tablosu"), O::Child,
         QStringLiteral("yıllıkakımtablsosuhesabları"), screenOf<AnnualFlowScreen>()},
        {Screen::YearbookPage, QStringLiteral("Kitap"), O::Child, QStringLiteral("kyazdırn"),
         screenOf<YearbookScreen>()},
        {Screen::WaterSupply, QStringLiteral("Su temini tablosu"), O::Child, QStringLiteral("suteminitabln"),
         screenOf<WaterSupplyScreen>()},
        {Screen::HqTable, QStringLiteral("HQ anahtar degerleri"), O::Child,
         QStringLiteral("hqanahtardegerlerin"), screenOf<HqTableScreen>()},
        {Screen::MeasurementCard, QStringLiteral("Ölçü kayıt kartı"), O::Child, QStringLiteral("olckartnn"),
         screenOf<MeasurementCardScreen>()},
        {Screen::RatingCurve, QStringLiteral("Anahtar eğrisi"), O::Child, {}, screenOf<RatingCurveScreen>()},
        {Screen::MonthlyTotals,
         QStringLiteral("Su yılının aylık akım ile oluşturulması"),
         O::Child,
         {},
         screenOf<MonthlyTotalsScreen>()},
        {Screen::Correlation,
         QStringLiteral("İstasyonlar arası korelasyon"),
         O::Child,
         {},
         screenOf<CorrelationScreen>()},
        {Screen::RainAnalysis, QStringLiteral("Pluviograf Değerlendirme"), O::Child, QStringLiteral("pludeg"),
         screenOf<RainAnalysisScreen>()},
        {Screen::BasinRain, QStringLiteral("Tablolar (1)"), O::Child, {}, screenOf<BasinRainScreen>()},
        {Screen::BasinDaily, QStringLiteral("Tablolar(2)"), O::Child, {}, screenOf<BasinDailyScreen>()},
        {Screen::BasinRunoff, QStringLiteral("Tablolar(3)"), O::Child, {}, screenOf<BasinRunoffScreen>()},
        {Screen::RainyDays, QStringLiteral("Tablolar(4)"), O::Child, {}, screenOf<RainyDayScreen>()},
        {Screen::SuvakImport,
         QStringLiteral("Suvak datalarının KORVEL2000'e aktarılması"),
         O::Child,
         {},
         screenOf<SuvakTransferScreen>()},
        {Screen::Korvel96Import,
         QStringLiteral("Korvel96 datalarının KORVEL2000'e aktarılması"),
         O::Child,
         {},
         screenOf<Korvel96TransferScreen>()},
        {Screen::Archive,
         QStringLiteral("Korvel2000 dosyalarını yolla/al"),
         O::Child,
         {},
         screenOf<ArchiveScreen>()},
        {Screen::FileDeletion, QStringLiteral("Dosya silme"), O::Child, {}, screenOf<DeletionScreen>()},
        {Screen::LevelLogger,
         QStringLiteral("Limnigrafa direk bağlantı"),
         O::Modal,
         {},
         screenOf<LevelLoggerForm>()},
        {Screen::ModemTerminal,
         QStringLiteral("Modem ile limnigrafa bağlantı"),
         O::Modal,
         {},
         screenOf<ModemTerminalForm>()},
        {Screen::DataCarrier, QStringLiteral("Bilgi hamalı"), O::Modal, {}, screenOf<DataCarrierForm>()},
        {Screen::CurrentMeter,
         QStringLiteral("Muline ile direk bağlantı"),
         O::Modal,
         {},
         screenOf<CurrentMeterForm>()},
        {Screen::RainLogger, QStringLiteral("Pluviograf"), O::Modal, {}, screenOf<RainLoggerForm>()},
        {Screen::PortSettings,
         QStringLiteral("İletişim"),
         O::Modal,
         {},
         [](const ScreenSite& site) -> QWidget* {
             return new PortSettingsForm(site.context.settings, nullptr);
         }},
        {Screen::AnnualChart,
         QStringLiteral("Yıllık akım tablosunu grafiği"),
         O::Child,
         QStringLiteral("yıllıkgrafik"),
         {}},
        {Screen::MonthlyChart,
         QStringLiteral("Aylık akım tablosunun grafiği"),
         O::Child,
         QStringLiteral("aylıkgrafn"),
         {}},
        {Screen::RainChart, QStringLiteral("Yağış Grafiği"), O::Modal, {}, {}},
        {Screen::RainfallIdf,
         QStringLiteral("Yağış şiddet-süre-tekerrür (IDF)"),
         O::Child,
         {},
         screenOf<IdfScreen>()},
        {Screen::FlowDuration,
         QStringLiteral("Akım süreklilik eğrisi"),
         O::Child,
         {},
         screenOf<FlowDurationScreen>()},
        {Screen::LongRecord,
         QStringLiteral("Uzun dönem akım kaydı"),
         O::Child,
         {},
         screenOf<FlowRecordScreen>()},
        {Screen::ChangeHistory,
         QStringLiteral("Değişiklik geçmişi"),
         O::Child,
         {},
         screenOf<ChangeHistoryScreen>()},
    };
}

} // namespace

CommandMap::CommandMap(MainWindow& window) : QObject(&window), window_(window), specs_(screenTable()) {
    setFactory(Screen::MonthlyChart, [this](const ScreenSite& site) { return makeMonthlyChart(site); });
    setFactory(Screen::AnnualChart, [this](const ScreenSite& site) { return makeAnnualChart(site); });
    connectCommands();
    connectExports();
}

// The charts draw the figures of the open table they belong to; without it there is no chart.
QWidget* CommandMap::makeMonthlyChart(const ScreenSite& site) {
    auto* table = qobject_cast<MonthlyFlowScreen*>(screen(Screen::MonthlyFlow));
    if (table == nullptr)
        return nullptr;
    const QString title = waterYearChartTitle(
        site.station.current().record.stationNumber, table->flowFile().filename().string(),
        QStringLiteral("%1, günlük seviye ve akım")
            .arg(QString::fromStdString(table->sheet().text("month")).trimmed()));
    return new MonthlyChartScreen(table->monthFlow(), title, site.context.locale);
}

QWidget* CommandMap::makeAnnualChart(const ScreenSite& site) {
    auto* table = qobject_cast<AnnualFlowScreen*>(screen(Screen::AnnualFlow));
    if (table == nullptr)
        return nullptr;
    const QString title = waterYearChartTitle(site.station.current().record.stationNumber,
                                              table->flowFileName(), QStringLiteral("günlük akım"));
    return new AnnualChartScreen(table->annualFlow(), title);
}

void CommandMap::route(const QString& command, std::function<void()> handler) {
    QAction* action = window_.command(command);
    if (action == nullptr)
        return;
    commandNames_.append(command);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

// Every menu command and the handler it runs.
void CommandMap::connectCommands() {
    using S = Screen;
    const auto opens = [this](Screen s) { return [this, s] { open(s); }; };
    const auto closes = [this](Screen s) { return [this, s] { close(s); }; };
    const auto prints = [this](Screen s) { return [this, s] { print(s); }; };

    // İstasyon
    route(QStringLiteral("istasyonsecn"), [this] { showStationScreen(); });
    route(QStringLiteral("yeniistasyonn"), [this] { newStation(); });
    route(QStringLiteral("kaydetn"), [this] { saveStation(); });
    route(QStringLiteral("suvakaktar"), opens(S::SuvakImport));
    route(QStringLiteral("korvel96aktar"), opens(S::Korvel96Import));
    route(QStringLiteral("korvel2000dosyalarıyollaal"), opens(S::Archive));
    route(QStringLiteral("dosyasilmen"), opens(S::FileDeletion));
    // İletişim
    route(QStringLiteral("limnigrafadirekbaglantın"), [this] { openLevelLogger(); });
    route(QStringLiteral("modemilebaglantı"), opens(S::ModemTerminal));
    route(QStringLiteral("bilgihamalı"), opens(S::DataCarrier));
    route(QStringLiteral("mulineilebaglantı"), opens(S::CurrentMeter));
    route(QStringLiteral("pluviometrefrm"), opens(S::RainLogger));
    // Korsuvak
    route(QStringLiteral("seviyegozlemcetvelin"), [this] { openLevelSheet(); });
    route(QStringLiteral("Aylıkn"), [this] { openMonthlyFlow(); });
    route(QStringLiteral("yıllıkn"), [this] { openAnnualFlow(); });
    route(QStringLiteral("kitapn"), [this] { openYearbookPage(); });
    route(QStringLiteral("yillikkitapn"), [this] { showNetworkYearbook(); });
    route(QStringLiteral("suteminitablon"), opens(S::WaterSupply));
    route(QStringLiteral("hqanahtarn"), [this] { openHqTable(); });
    route(QStringLiteral("olcukayıtkatn"), opens(S::MeasurementCard));
    route(QStringLiteral("suyılıaylıkdn"), opens(S::MonthlyTotals));
    route(QStringLiteral("korelasyonn"), opens(S::Correlation));
    route(QStringLiteral("korvel96n"), [this] { startKorvel96(); });
    // Tablolar
    route(QStringLiteral("p"), opens(S::RainAnalysis));
    route(QStringLiteral("tablo1"), opens(S::BasinRain));
    route(QStringLiteral("tablo2"), [this] { openBasinDaily(); });
    route(QStringLiteral("tablo3"), opens(S::BasinRunoff));
    route(QStringLiteral("tablo4"), opens(S::RainyDays));
    // Çok yıllık: the screens read the whole record of the current station afresh
    const auto opensForStation = [this](Screen s) {
        return [this, s] {
            if (!stationChosen())
                showMessage(&window_, kStationMissingMessage);
            else
                reopen(s);
        };
    };
    route(QStringLiteral("yagissiddetn"), opensForStation(S::RainfallIdf));
    route(QStringLiteral("akimsureklilikn"), opensForStation(S::FlowDuration));
    route(QStringLiteral("uzundonemakimn"), opensForStation(S::LongRecord));
    route(QStringLiteral("degisiklikgecmisin"), opensForStation(S::ChangeHistory));
    // Ayarlar, Yardım
    route(QStringLiteral("iletişimn"), opens(S::PortSettings));
    route(QStringLiteral("yazıcın"), [this] { showPrinterSetupDialog(); });
    route(QStringLiteral("hakkından"), [this] { showAbout(); });

    // Annual flow table
    route(QStringLiteral("yazdıryıllıkn"), printsOn<AnnualFlowScreen>(S::AnnualFlow));
    route(QStringLiteral("yıllıkakımgrafn"), [this] { reopen(Screen::AnnualChart); });
    route(QStringLiteral("yıllıkakımkapat"), [this] { closeAnnualChartAndTable(); });
    // Level observation sheet
    route(QStringLiteral("yenisuyılekle"), [this] { addWaterYearToStation(); });
    route(QStringLiteral("sevgozkaydet"), on<LevelSheetScreen>(S::LevelSheet, [](auto& s) { s.save(); }));
    route(QStringLiteral("sevgozyazdır"), printsOn<LevelSheetScreen>(S::LevelSheet));
    route(QStringLiteral("sevgozkapat"), closes(S::LevelSheet));
    // Monthly flow table
    route(QStringLiteral("aylıkkayden"), on<MonthlyFlowScreen>(S::MonthlyFlow, [](auto& s) { s.save(); }));
    route(QStringLiteral("yazdıraylık"), printsOn<MonthlyFlowScreen>(S::MonthlyFlow));
    route(QStringLiteral("aylıkakımgraf"), [this] { reopen(Screen::MonthlyChart); });
    route(QStringLiteral("aylıkkapatn"), closes(S::MonthlyFlow));
    // HQ table: gap filling and saving run deferred on the screen's one-shot timers
    route(QStringLiteral("hqyeni"), on<HqTableScreen>(S::HqTable, [](auto& s) { s.newTable(); }));
    route(QStringLiteral("hqtabloboluktam"), on<HqTableScreen>(S::HqTable, [](auto& s) { s.fillGaps(); }));
    route(QStringLiteral("hqkaydetn"), on<HqTableScreen>(S::HqTable, [](auto& s) { s.save(); }));
    route(QStringLiteral("hqanahtaregrisi"), [this] { openRatingCurve(); });
    route(QStringLiteral("hqkapatn"), closes(S::HqTable));
    // Charts, yearbook page, measurement card, water supply table
    route(QStringLiteral("yıllıkgryaz"), prints(S::AnnualChart));
    route(QStringLiteral("yıllıkgrkapat"), [this] { closeAnnualChart(); });
    route(QStringLiteral("kyazdırn"), printsOn<YearbookScreen>(S::YearbookPage));
    route(QStringLiteral("aylıkgrafyazn"), prints(S::MonthlyChart));
    route(QStringLiteral("aylıkgrafkapat"), closes(S::MonthlyChart));
    route(QStringLiteral("olcukkaydetn"),
          on<MeasurementCardScreen>(S::MeasurementCard, [](auto& s) { s.save(); }));
    route(QStringLiteral("olcuanahtaregrisi"), [this] { openRatingCurve(); });
    route(QStringLiteral("olcukakapat"), closes(S::MeasurementCard));
    route(QStringLiteral("sutemintablosuyazn"), printsOn<WaterSupplyScreen>(S::WaterSupply));
    route(QStringLiteral("suteminikapatn"), closes(S::WaterSupply));
    // One-year rainfall analysis
    route(QStringLiteral("Tabloayazd"),
          on<RainAnalysisScreen>(S::RainAnalysis, [this](auto& s) { reportPrint(s.printTable()); }));
    route(QStringLiteral("yagışgraylık"),
          on<RainAnalysisScreen>(S::RainAnalysis, [](auto& s) { s.showRainChart(); }));
    route(QStringLiteral("yenisuyılıekleyagıs"), [this] { addRainYearToStation(); });
    route(QStringLiteral("Tabloyukapat"), closes(S::RainAnalysis));
}

// Preview, PDF and CSV next to each print command, on the screen that command prints.
void CommandMap::connectExports() {
    const std::vector<std::pair<const char*, Screen>> printed = {
        {"yazdıryıllıkn", Screen::AnnualFlow},   {"sevgozyazdır", Screen::LevelSheet},
        {"yazdıraylık", Screen::MonthlyFlow},    {"yıllıkgryaz", Screen::AnnualChart},
        {"aylıkgrafyazn", Screen::MonthlyChart}, {"sutemintablosuyazn", Screen::WaterSupply},
        {"Tabloayazd", Screen::RainAnalysis},
    };
    for (const auto& [print, target] : printed) {
        const QString name = QString::fromUtf8(print);
        const Screen s = target;
        route(previewCommand(name), [this, s] {
            if (QWidget* widget = screen(s))
                previewWindow(widget, &window_);
        });
        route(pdfCommand(name), [this, s] {
            if (QWidget* widget = screen(s))
                saveWindowAsPdf(widget, &window_);
        });
        route(csvCommand(name), [this, s] {
            if (QWidget* widget = screen(s))
                saveWindowGridsAsCsv(widget, &window_, window_.context().locale);
        });
    }
}

void CommandMap::connectStationScreen(StationScreen& station) {
    connect(&station, &StationScreen::flowFileOpened, this, [this] { reopen(Screen::AnnualFlow); });
    connect(&station, &StationScreen::hqFileOpened, this, [this] { reopen(Screen::HqTable); });
    connect(&station, &StationScreen::rainFileOpened, this, [this] { open(Screen::RainAnalysis); });
}

QStringList CommandMap::commandNames() const {
    return commandNames_;
}

StationHub& CommandMap::station() const {
    return window_.stationScreen();
}

bool CommandMap::stationChosen() const {
    return !trimmed(station().current().record.stationNumber).empty();
}

const ScreenSpec& CommandMap::spec(Screen screen) const {
    for (const ScreenSpec& s : specs_)
        if (s.screen == screen)
            return s;
    return specs_.front();
}

void CommandMap::setFactory(Screen screen, ScreenFactory make) {
    for (ScreenSpec& s : specs_)
        if (s.screen == screen)
            s.make = std::move(make);
}

QWidget* CommandMap::screen(Screen screen) const {
    const auto it = open_.find(screen);
    return it == open_.end() ? nullptr : it->second.data();
}

QWidget* CommandMap::open(Screen screen) {
    emit screenRequested(screen);
    if (QWidget* existing = this->screen(screen)) {
        window_.openChild(existing);
        return existing;
    }
    const ScreenSpec& s = spec(screen);
    if (!s.make) {
        showMessage(&window_, QStringLiteral("Bu bölüm bu sürümde henüz yok: %1").arg(s.title.trimmed()));
        return nullptr;
    }
    QWidget* widget = s.make(ScreenSite{window_.context(), station(), window_});
    if (widget == nullptr)
        return nullptr;
    if (s.opening == Opening::Modal) {
        window_.openModal(widget);
        return nullptr;
    }
    open_[screen] = widget;
    connectScreen(widget);
    if (!s.contextMenu.isEmpty())
        window_.tieContextMenu(widget, s.contextMenu);
    window_.openChild(widget);
    return widget;
}

void CommandMap::connectScreen(QWidget* widget) {
    if (auto* monthly = qobject_cast<MonthlyFlowScreen*>(widget)) {
        // A double click on the readings list charts the day's readings.
        connect(monthly, &MonthlyFlowScreen::readingsChartRequested, this, [this, monthly] {
            if (const auto& readings = monthly->dayReadings())
                window_.openChild(new ReadingsChartScreen(*readings));
        });
    }
    if (auto* annual = qobject_cast<AnnualFlowScreen*>(widget)) {
        // A double click on a month of the annual table opens that month's table.
        connect(annual, &AnnualFlowScreen::monthRequested, this, [this](int monthIndex) {
            station().setMonthIndex(monthIndex);
            reopen(Screen::MonthlyFlow);
        });
    }
    if (auto* rating = qobject_cast<RatingCurveScreen*>(widget)) {
        // A table saved from the curve shows in the open HQ screen's list at once.
        connect(rating, &RatingCurveScreen::tableSaved, this, [this] {
            if (screen(Screen::HqTable) != nullptr)
                reopen(Screen::HqTable);
        });
    }
    if (auto* rain = qobject_cast<RainAnalysisScreen*>(widget))
        connect(rain, &RainAnalysisScreen::dayTableOpened, this,
                [this](RainDayTableScreen* table) { window_.openChild(table); });
}

QWidget* CommandMap::reopen(Screen screen) {
    close(screen);
    return open(screen);
}

void CommandMap::close(Screen screen) {
    QWidget* widget = this->screen(screen);
    if (widget == nullptr)
        return;
    window_.closeChild(widget);
    open_.erase(screen);
}

// ---- commands with preconditions

void CommandMap::showStationScreen() {
    window_.openChild(&window_.stationScreen());
}

void CommandMap::newStation() {
    window_.stationScreen().newStationRecord();
}

void CommandMap::saveStation() {
    window_.stationScreen().saveStationRecord();
}

void CommandMap::openLevelLogger() {
    if (!stationChosen()) {
        showMessage(&window_, kStationMissingMessage);
        return;
    }
    open(Screen::LevelLogger);
}

void CommandMap::openLevelSheet() {
    if (!stationChosen()) {
        showMessage(&window_, kLevelSheetStationMessage);
        return;
    }
    open(Screen::LevelSheet);
}

void CommandMap::openMonthlyFlow() {
    if (station().current().selectedFlowFile.empty()) {
        showMessage(&window_, kFlowFileMissingMessage);
        return;
    }
    reopen(Screen::MonthlyFlow);
}

void CommandMap::openAnnualFlow() {
    if (station().current().selectedFlowFile.empty()) {
        showMessage(&window_, kFlowFileMissingMessage);
        return;
    }
    reopen(Screen::AnnualFlow);
}

// The page is built afresh each time, from the flow file selected now.
void CommandMap::openYearbookPage() {
    if (station().current().selectedFlowFile.empty()) {
        showMessage(&window_, kFlowFileMissingMessage);
        return;
    }
    reopen(Screen::YearbookPage);
}

void CommandMap::openHqTable() {
    if (!stationChosen()) {
        showMessage(&window_, kStationMissingMessage);
        return;
    }
    open(Screen::HqTable);
}

void CommandMap::openRatingCurve() {
    if (!stationChosen()) {
        showMessage(&window_, kStationMissingMessage);
        return;
    }
    reopen(Screen::RatingCurve);
}

void CommandMap::openBasinDaily() {
    const CurrentStation& current = station().current();
    if (current.rainSelection.size() != 3 || current.flowSelection.size() != 1)
        return;
    open(Screen::BasinDaily);
}

void CommandMap::startKorvel96() {
    const std::filesystem::path program = window_.context().paths.resolve(kKorvel96Program.toStdString());
    if (!fileExists(program)) {
        showMessage(&window_, QStringLiteral("Korvel96 programı bulunamadı: %1").arg(kKorvel96Program));
        return;
    }
    const QString path = QString::fromStdString(program.string());
    if (!QProcess::startDetached(path, {}, QString::fromStdString(program.parent_path().string())))
        showMessage(&window_, QStringLiteral("Korvel96 programı başlatılamadı: %1").arg(kKorvel96Program));
}

void CommandMap::showPrinterSetupDialog() {
    showPrinterSetup(&window_);
}

void CommandMap::showNetworkYearbook() {
    NetworkYearbookDialog dialog(window_.context(), &window_);
    dialog.exec();
}

void CommandMap::showAbout() {
    QDialog* box = makeAboutBox(&window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->exec();
}

// The level sheet, when open, adds the year itself: it lists the station's water years too
// and selects its last one again.
void CommandMap::addWaterYearToStation() {
    if (auto* sheet = qobject_cast<LevelSheetScreen*>(screen(Screen::LevelSheet)))
        sheet->addWaterYear();
    else
        addWaterYear(&window_, station());
}

void CommandMap::addRainYearToStation() {
    addRainYear(&window_, station());
}

void CommandMap::closeAnnualChartAndTable() {
    close(Screen::AnnualChart);
    close(Screen::AnnualFlow);
}

void CommandMap::closeAnnualChart() {
    if (QAction* entry = window_.menuEntry(QStringLiteral("yıllıkgrafik")))
        entry->setVisible(false);
    close(Screen::AnnualChart);
}

// ---- commands on an open screen

void CommandMap::print(Screen screen) {
    if (QWidget* widget = this->screen(screen))
        reportPrint(printWindow(widget));
}

void CommandMap::reportPrint(bool printed) {
    reportUnprinted(&window_, printed);
}

void CommandMap::armDeferred(Screen screen, const QString& timerName) {
    QWidget* widget = this->screen(screen);
    if (widget == nullptr)
        return;
    if (auto* command = widget->findChild<DeferredCommand*>(timerName))
        command->arm();
}

} // namespace korvel
