#include "ui/instruments/ModemTerminalForm.h"

#include "InstrumentBench.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "instruments/LevelConversion.h"
#include "platform/QtSerialLink.h"
#include "platform/ScriptedDialogs.h"
#include "sim/SimProcess.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <pty.h>
#include <unistd.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// The modem terminal on a scratch drive, its port the simulator's pseudo-terminal. The station
// has a telephone number, an elevation and a modem rating table of 1.5 l/s per centimetre.
struct Bench : InstrumentBench {
    explicit Bench(const std::string& port) : InstrumentBench(port) {
        settings.setComSpeed("19200");
        CurrentStation& s = hub.state;
        s.record.dialPrefix = "0     ";
        s.record.phoneNumber = "3124567";
        s.record.elevation = 250.0f;
        HqTable rating;
        for (std::size_t i = 0; i < HqTable::kLevels; ++i)
            rating.discharge[i] = static_cast<float>(i) * 1.5f;
        writeHqTable(s.stationDir / "01_01-001.HQ", rating);
        s.record.modemHqFile = "c:\\korvel2000\\Ankara\\01\\01-001\\01_01-001.HQ";
        form = std::make_unique<ModemTerminalForm>(context, hub);
    }

    QString text(const char* name) const { return controlText(*form, name); }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    bool enabled(const char* button) const { return form->findChild<QPushButton*>(button)->isEnabled(); }
    QString terminal() const { return form->findChild<QPlainTextEdit*>("txtTerm")->toPlainText(); }
    bool frontImageIs(const char* name) const {
        return form->findChild<QStackedLayout*>()->currentWidget()->objectName() == QLatin1String(name);
    }
    bool settle(int ms = 15000) { return form->port().waitForIdle(ms); }
    bool hear(const QString& text, int ms = 5000) {
        return QTest::qWaitFor([&] { return terminal().contains(text); }, ms);
    }
    bool dial() {
        form->mnuDial_Click();
        return settle() && hear("CONNECT");
    }
    fs::path dump() const { return context.paths.korvel96Root() / "hamdata.96"; }

    std::unique_ptr<ModemTerminalForm> form;
};

std::vector<std::string> modemSim(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--device", "modem", "--date", "15.03.2026",
                                  "--time",   "10:00", "--days", "12"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class ModemTerminalFormTest : public QObject {
    Q_OBJECT

private slots:
    void menusToolbarAndPanelsBeforeTheCall() {
        Bench bench("/dev/null");
        ModemTerminalForm& form = *bench.form;
        QCOMPARE(form.objectName(), QString("frmTerminal"));
        QCOMPARE(form.windowTitle(), QString("Modem"));
        const std::pair<const char*, const char*> items[] = {
            {"mnuFileExit", "Çıkış"},
            {"mnuOpen", "Portu aç"},
            {"mnuProperties", "Genel ayarlar"},
            {"mnuInputLen", "&InputLen..."},
            {"mnuRThreshold", "&RThreshold..."},
            {"mnuSThreshold", "&SThreshold..."},
            {"mnuParRep", "P&arityReplace..."},
            {"mnuDTREnable", "&DTREnable"},
            {"mnuCDHolding", "&CDHolding..."},
            {"mnuCTSHolding", "CTSH&olding..."},
            {"mnuDSRHolding", "DSRHo&lding..."},
            {"mnuDial", "Telefon numarasını çevir"},
            {"mnuHangup", "Telefonu kapat"},
        };
        for (const auto& [name, caption] : items) {
            QVERIFY2(bench.action(name) != nullptr, name);
            QCOMPARE(bench.action(name)->text(), q(caption));
        }
        QStringList menus;
        for (QMenu* menu : form.findChildren<QMenu*>())
            menus << menu->title();
        for (const char* title : {"Dosya", "&CommPort", "comm", "Başlat"})
            QVERIFY2(menus.contains(q(title)), title);

        QStringList keys;
        for (QAction* a : form.findChild<QToolBar*>("tbrToolBar")->actions())
            if (!a->objectName().isEmpty())
                keys << a->objectName();
        QCOMPARE(keys, QStringList({"OpenLogFile", "CloseLogFile", "DialPhoneNumber", "HangUpPhone",
                                    "Properties", "TransmitTextFile"}));

        QCOMPARE(bench.text("Status"), QString("Status: "));
        QCOMPARE(bench.text("Settings"), QString("Settings: "));
        QCOMPARE(bench.text("ConnectTime"), QString());
        QCOMPARE(bench.text("Caption11"), q("KOT__SEVİYE"));
        QCOMPARE(bench.text("Caption12"), q("DEBİ VEYA HACİM"));
        QCOMPARE(form.findChild<QPushButton*>("Command1")->toolTip(), q("Limnigraftan genel bilgileri alır"));
        QCOMPARE(form.findChild<QPushButton*>("Command2")->toolTip(),
                 q("Limnigraftan kayıtlı bilgileri sağar"));
        QCOMPARE(form.findChild<QLabel*>("imgConnected")->toolTip(), QString("Portu kapat"));
        QCOMPARE(form.findChild<QLabel*>("imgNotConnected")->toolTip(), q("Portu aç"));
        QVERIFY(bench.frontImageIs("imgNotConnected"));
        QCOMPARE(form.findChild<QPlainTextEdit*>("txtTerm")->palette().color(QPalette::Text),
                 QColor(Qt::blue));

        // Nothing of the call before dialling; the caption "KOT__SEVİYE" opens the logger buttons.
        QVERIFY(!bench.action("mnuHangup")->isEnabled());
        QVERIFY(!bench.action("HangUpPhone")->isEnabled());
        QVERIFY(bench.action("mnuDial")->isEnabled());
        for (const char* button : {"Command1", "Command2", "Command4", "Command5"})
            QVERIFY2(!bench.enabled(button), button);
        QTest::mouseClick(form.findChild<QLabel*>("Caption11"), Qt::LeftButton);
        for (const char* button : {"Command1", "Command2", "Command4", "Command5"})
            QVERIFY2(bench.enabled(button), button);

        // The rating table of the station's modem HQ file was read on load.
        QVERIFY(form.rating().has_value());
        QCOMPARE(form.rating()->discharge[40], 60.0f);

        // "Çıkış" with the port closed closes at once.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        bench.action("mnuFileExit")->trigger();
        QVERIFY(!form.isVisible());
    }

    void commItemsSayWhatThePortCannotDo() {
        Bench bench("/dev/null");
        for (const char* item : {"mnuInputLen", "mnuRThreshold", "mnuSThreshold", "mnuParRep"})
            bench.action(item)->trigger();
        QCOMPARE(bench.dialogs.messages(),
                 QStringList({q("InputLen ayarı bu seri port tarafından desteklenmiyor."),
                              q("RThreshold ayarı bu seri port tarafından desteklenmiyor."),
                              q("SThreshold ayarı bu seri port tarafından desteklenmiyor."),
                              q("ParityReplace ayarı bu seri port tarafından desteklenmiyor.")}));
        // No prompt pretends to take a value.
        for (const auto& call : bench.dialogs.calls())
            QCOMPARE(call.kind, ScriptedDialogs::Kind::Message);

        bench.dialogs.clear();
        for (const char* item : {"mnuCDHolding", "mnuCTSHolding", "mnuDSRHolding"})
            bench.action(item)->trigger();
        QCOMPARE(bench.dialogs.messages(),
                 QStringList({"CDHolding = False", "CTSHolding = False", "DSRHolding = False"}));

        QVERIFY(bench.action("mnuDTREnable")->isChecked());
        bench.action("mnuDTREnable")->trigger();
        QVERIFY(!bench.action("mnuDTREnable")->isChecked());
        bench.action("mnuDTREnable")->trigger();
        QVERIFY(bench.action("mnuDTREnable")->isChecked());
        QVERIFY(bench.settle());
    }

    void portEventsInTheStatusPanel() {
        Bench bench("/dev/null");
        ModemTerminalForm& form = *bench.form;
        form.MSComm1_OnComm(comm::kCtsChange);
        QCOMPARE(bench.text("Status"), QString("Status: Change in CTS Detected"));
        QVERIFY(bench.dialogs.calls().isEmpty());
        // A notice clears itself after a while.
        QTRY_COMPARE_WITH_TIMEOUT(bench.text("Status"), QString("Status: "), 5000);

        bench.dialogs.queueAnswer(true);
        form.MSComm1_OnComm(comm::kFraming);
        QCOMPARE(bench.text("Status"), QString("Status: Framing Error"));
        QCOMPARE(bench.dialogs.calls().size(), 1);
        QCOMPARE(bench.dialogs.calls()[0].kind, ScriptedDialogs::Kind::OkCancel);
        QCOMPARE(bench.dialogs.calls()[0].text, QString("Framing Error"));
        QCOMPARE(bench.dialogs.calls()[0].title, QString("Click Cancel to quit, OK to ignore."));
        form.MSComm1_OnComm(4711);
        QCOMPARE(bench.text("Status"), QString("Status: Unknown error or event"));
        // Received data are no event of the panel.
        form.MSComm1_OnComm(comm::kReceive);
        QCOMPARE(bench.text("Status"), QString("Status: Unknown error or event"));
    }

    void portFaultsAsEventCodes() {
        QCOMPARE(commEventOfError(QSerialPort::NoError), std::optional<int>());
        QCOMPARE(commEventOfError(QSerialPort::TimeoutError), std::optional<int>());
        QCOMPARE(commEventOfError(QSerialPort::UnsupportedOperationError), std::optional<int>());
        QCOMPARE(commEventOfError(QSerialPort::WriteError), std::optional<int>(comm::kTransmitFull));
        QCOMPARE(commEventOfError(QSerialPort::ResourceError), std::optional<int>(comm::kUnknown));
        QCOMPARE(commEventOfError(QSerialPort::ReadError), std::optional<int>(comm::kUnknown));
    }

    void typedKeysGoToThePortNotIntoTheBox() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        SimProcess sim(modemSim());
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.action("mnuOpen")->trigger();
        QVERIFY(bench.settle());
        QVERIFY(bench.action("mnuOpen")->isChecked());
        QVERIFY(bench.frontImageIs("imgConnected"));
        QCOMPARE(bench.text("Settings"), QString("Settings: 19200,n,8,1"));
        auto* box = bench.form->findChild<QPlainTextEdit*>("txtTerm");
        QTest::keyClicks(box, "AT");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(bench.hear("OK"));
        QCOMPARE(bench.terminal(), QString("\nOK\n"));

        // A text file goes down the line as it stands.
        const QString textFile = bench.dir.path() + "/commands.txt";
        writeFileAtomic(textFile.toStdString(), Bytes{'A', 'T', 'Z', '\r'});
        bench.dialogs.queueFileName(textFile);
        bench.action("TransmitTextFile")->trigger();
        QVERIFY(bench.hear("OK\n\nOK"));

        // "Portu aç" again closes the port.
        bench.action("mnuOpen")->trigger();
        QVERIFY(bench.settle());
        QVERIFY(!bench.action("mnuOpen")->isChecked());
        QVERIFY(bench.frontImageIs("imgNotConnected"));
    }

    void dialReadTheBlockAndHangUp() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        SimProcess sim(modemSim({"--battery", "1000"}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        ModemTerminalForm& form = *bench.form;
        const QString logFile = bench.dir.path() + "/call.log";
        bench.dialogs.queueFileName(logFile);
        bench.action("OpenLogFile")->trigger();
        QVERIFY(!bench.action("OpenLogFile")->isEnabled());
        QVERIFY(bench.action("CloseLogFile")->isEnabled());

        QVERIFY(bench.dial());
        QVERIFY(bench.action("mnuHangup")->isEnabled());
        QVERIFY(bench.action("HangUpPhone")->isEnabled());
        QVERIFY(!bench.action("DialPhoneNumber")->isEnabled());
        QVERIFY(bench.enabled("Command1"));
        QVERIFY(bench.frontImageIs("imgConnected"));
        QVERIFY(bench.terminal().contains("CONNECT 19200"));
        QTRY_VERIFY_WITH_TIMEOUT(bench.text("ConnectTime").startsWith(" 00:00:0"), 3000);

        form.Command1_Click();
        QVERIFY(bench.settle());
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.text("Text8"), QString(" mm"));
        QCOMPARE(bench.text("Text2"), QString("10:00:00"));
        QCOMPARE(bench.text("Text3"), QString("15.03.2026"));
        QCOMPARE(bench.text("Text4"), QString("15"));
        QCOMPARE(bench.text("Text5"), QString("KARASU  "));
        QCOMPARE(bench.text("Text6"), QString("01-001  "));
        QCOMPARE(bench.text("Text7"), QString("SAKARYA "));
        QCOMPARE(bench.text("Label8"), q("  PİL ÖMRÜ  600..Gün"));
        QCOMPARE(bench.text("Text10"), QString(15, 'I'));
        QVERIFY(bench.text("Label9").startsWith(q("Limnigraf Kaydedilebilecek kalan gün sayısı ")));
        // Millimetres: the surface is 250 m + L / 1000, the discharge the table's at L / 10.
        bool ok = false;
        const int level = bench.text("Text1").toInt(&ok);
        QVERIFY(ok);
        const Locale tr = Locale::turkish();
        QCOMPARE(bench.text("Text11"), QString::fromStdString(tr.numberText(250.0 + level / 1000.0) + ".m"));
        QCOMPARE(bench.text("Text12"), QString::fromStdString(tr.numberText32(
                                           static_cast<float>(roundHalfEven(level / 10.0)) * 1.5f)));
        // The screen during the call, kept in KORVEL_SCREENSHOT_DIR when that is set.
        if (const QString dir = qEnvironmentVariable("KORVEL_SCREENSHOT_DIR"); !dir.isEmpty())
            QVERIFY(form.grab().save(QDir(dir).filePath("frmTerminal.png")));

        form.mnuHangup_Click();
        QVERIFY(bench.settle());
        QVERIFY(!bench.form->port().isOpen());
        QVERIFY(!bench.action("mnuHangup")->isEnabled());
        QVERIFY(!bench.action("HangUpPhone")->isEnabled());
        QVERIFY(bench.action("mnuDial")->isEnabled());
        QVERIFY(bench.action("DialPhoneNumber")->isEnabled());
        QVERIFY(!bench.action("mnuOpen")->isChecked());
        for (const char* button : {"Command1", "Command2", "Command4", "Command5"})
            QVERIFY2(!bench.enabled(button), button);
        QVERIFY(bench.frontImageIs("imgNotConnected"));
        QCOMPARE(bench.text("Status"), QString("Status: "));
        QCOMPARE(bench.text("Settings"), QString("Settings: "));
        QCOMPARE(bench.text("ConnectTime"), QString());

        // What the modem said went into the log file as it came.
        bench.action("CloseLogFile")->trigger();
        const auto log = readFileBytes(logFile.toStdString());
        QVERIFY(log);
        const std::string logged(log->begin(), log->end());
        QVERIFY(logged.find("\r\nCONNECT 19200\r\n") != std::string::npos);
    }

    void aDownloadOfEachModeIntoTheWaterYears() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        QTemporaryDir scratch;
        const std::string image = scratch.path().toStdString() + "/memory";
        SimProcess sim(modemSim({"--lead", "3", "--save-memory", image}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        ModemTerminalForm& form = *bench.form;
        QVERIFY(bench.dial());
        const QString heard = bench.terminal();
        const auto expected = readFileBytes(image);
        QVERIFY(expected);

        using Command = void (ModemTerminalForm::*)();
        for (const Command command : {&ModemTerminalForm::Command2_Click, &ModemTerminalForm::Command4_Click,
                                      &ModemTerminalForm::Command5_Click}) {
            fs::remove(bench.dump());
            bench.dialogs.queueInput("01-001");
            (form.*command)();
            QVERIFY(form.downloadRunning());
            QVERIFY(!form.isEnabled());
            QVERIFY(bench.settle(20000));
            QVERIFY(!form.downloadRunning());
            QVERIFY(form.isEnabled());
            QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
            QCOMPARE(readFileBytes(bench.dump()), expected);
            QCOMPARE(bench.text("Text9"), q("Sagım yapıldı"));
            QCOMPARE(bench.dialogs.calls().last().title, q("Limnigraftaki istasyon numarası  01-001  "));
        }
        // The memory went into the image, not into the terminal.
        QVERIFY(bench.terminal().size() < heard.size() + 16);

        const LevelConversionResult reference = [&] {
            QTemporaryDir check;
            const fs::path root(check.path().toStdString());
            fs::create_directories(root / "station");
            return convertLevelDump(*expected, "01-001", {root / "station", root / "korvel96"});
        }();
        QVERIFY(reference.converted);
        QCOMPARE(reference.days.size(), std::size_t(13));
        const fs::path station = bench.hub.state.stationDir;
        for (const DayRecord& day : reference.days) {
            const auto records =
                readWaterYearFile(station / waterYearFileName(waterYearOfDate(day.date), "01-001"));
            const auto n = findDay(records, day.date);
            QVERIFY(n);
            QCOMPARE(records[*n - 1].meanValue, day.meanValue);
            QCOMPARE(records[*n - 1].maxLevel, day.maxLevel);
        }
        form.mnuHangup_Click();
        QVERIFY(bench.settle());
    }

    void aCutOffDownloadSaysSoAndStoresTheWholeDays() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        SimProcess sim(modemSim({"--fault", "cutoff@0x50"}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        QVERIFY(bench.dial());
        bench.dialogs.queueInput("01-001");
        bench.form->Command2_Click();
        QVERIFY(bench.settle(20000));
        // Half of the image came: the twelve days and today lie in it, the rest is filler.
        QCOMPARE(bench.text("Text9"), q("Sağım eksik kaldı"));
        QCOMPARE(bench.dialogs.messages(),
                 QStringList{q("Sağım eksik kaldı: 13 gün yazıldı, 0 gün alınamadı")});
        bench.form->mnuHangup_Click();
        QVERIFY(bench.settle());
    }

    void closingWithThePortOpenClosesPortAndLog() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        SimProcess sim(modemSim());
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(bench.form.get()));
        QVERIFY(bench.dial());
        bench.action("mnuFileExit")->trigger();
        QVERIFY(bench.settle());
        QTRY_VERIFY_WITH_TIMEOUT(!bench.form->isVisible(), 3000);
        QVERIFY(!bench.form->port().isOpen());
        QVERIFY(bench.dialogs.calls().isEmpty());
    }

    void closingAsksWhenTheOutputCannotGo() {
        // A line nobody reads: what is written stays in the port's output.
        int master = -1;
        int slave = -1;
        char device[256] = {};
        QVERIFY(::openpty(&master, &slave, device, nullptr, nullptr) == 0);
        ::close(slave);
        Bench bench(device);
        bench.form->setDrainLimit(100);
        bench.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(bench.form.get()));
        bench.action("mnuOpen")->trigger();
        QVERIFY(bench.settle());
        QVERIFY(bench.form->port().isOpen());
        const QString textFile = bench.dir.path() + "/long.txt";
        writeFileAtomic(textFile.toStdString(), std::string(1 << 20, 'x'));
        bench.dialogs.queueFileName(textFile);
        bench.action("TransmitTextFile")->trigger();
        QVERIFY(bench.settle());

        auto asked = [&bench] {
            int n = 0;
            for (const auto& call : bench.dialogs.calls())
                n += call.kind == ScriptedDialogs::Kind::AbortRetryIgnore &&
                     call.text == "Data cannot be sent";
            return n;
        };
        // Abort: the screen stays, the port open.
        bench.dialogs.queueChoice(AbortRetryIgnore::Abort);
        bench.form->close();
        QTRY_COMPARE_WITH_TIMEOUT(asked(), 1, 5000);
        QVERIFY(bench.settle());
        QVERIFY(bench.form->isVisible());
        QVERIFY(bench.form->port().isOpen());
        // Retry waits again and asks again; ignore closes.
        bench.dialogs.queueChoice(AbortRetryIgnore::Retry);
        bench.dialogs.queueChoice(AbortRetryIgnore::Ignore);
        bench.form->close();
        QTRY_VERIFY_WITH_TIMEOUT(!bench.form->isVisible(), 5000);
        QCOMPARE(asked(), 3);
        QVERIFY(bench.settle());
        QVERIFY(!bench.form->port().isOpen());
        ::close(master);
    }
};

QTEST_MAIN(ModemTerminalFormTest)
#include "ModemTerminalFormTest.moc"
