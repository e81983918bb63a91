#include "ui/instruments/LevelLoggerForm.h"

#include "InstrumentBench.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "instruments/KeptDownloads.h"
#include "instruments/LevelDump.h"
#include "instruments/sim/LevelMemory.h"
#include "platform/QtSerialLink.h"
#include "platform/ScriptedDialogs.h"
#include "sim/SimProcess.h"
#include "store/WaterYearFile.h"
#include "ui/instruments/EraseForm.h"
#include "ui/instruments/KeptDownloadsPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <numeric>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> simArguments(int days, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--date", "15.03.2026", "--time", "10:00", "--days", std::to_string(days)};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Nothing in the station directory but the kept downloads: no day was written.
bool onlyKeptDownloads(const fs::path& stationDir) {
    for (const auto& entry : fs::directory_iterator(stationDir))
        if (entry.path().filename() != "sagimlar")
            return false;
    return true;
}

// A logger screen on a scratch drive, its port the simulator's pseudo-terminal.
struct Bench : InstrumentBench {
    explicit Bench(const std::string& port) : InstrumentBench(port) {
        form = std::make_unique<LevelLoggerForm>(context, hub);
    }

    QString text(const char* name) const { return controlText(*form, name); }
    bool finish(int ms = 10000) { return form->worker().waitForIdle(ms); }
    fs::path dump() const { return context.paths.korvel96Root() / "hamdata.96"; }

    std::unique_ptr<LevelLoggerForm> form;
};

} // namespace

class LevelLoggerFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
    }

    void controlsAndCaptions() {
        Bench bench("/dev/null");
        LevelLoggerForm& form = *bench.form;
        QCOMPARE(form.objectName(), QString("limnigraffrm"));
        QCOMPARE(form.windowTitle(), QString::fromUtf8("K.4417 limnigraf ile iletişim & sağım & kayıt"));
        QCOMPARE(form.findChild<QPushButton*>("Command1")->text(), QString("Limnigraftan Bilgileri Al"));
        QCOMPARE(form.findChild<QPushButton*>("Command2")->text(), QString::fromUtf8("Sağım"));
        QCOMPARE(form.findChild<QPushButton*>("Command3")->text(),
                 QString::fromUtf8("limnigraf hafızasını Sil"));
        for (const char* name :
             {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text10"})
            QVERIFY2(form.findChild<QLineEdit*>(name) != nullptr, name);
        QStringList captions;
        for (int i = 1; i <= 7; ++i)
            captions << form.findChild<QLabel*>(QStringLiteral("Caption%1").arg(i))->text();
        QCOMPARE(captions, QString::fromUtf8("EŞEL SEVİYESİ|LİMNİGRAF SAATİ|LİMNİGRAF TARİHİ|KAYIT ARALIĞI|"
                                             "İSTASYON ADI|İSTASYON NO|SUYUN ADI")
                               .split('|'));
    }

    void informationFillsEveryField() {
        SimProcess sim(simArguments(10, {"--battery", "1000"}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command1_Click();
        QVERIFY(bench.form->busy());
        QVERIFY(!bench.form->findChild<QPushButton*>("Command1")->isEnabled());
        QVERIFY(bench.finish());
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.form->view().levelUnitCode, 1);
        QCOMPARE(bench.text("Text8"), QString(" mm"));
        QCOMPARE(bench.text("Text1").size(), 4);
        QCOMPARE(bench.text("Text2"), QString("10:00:00"));
        QCOMPARE(bench.text("Text3"), QString("15.03.2026"));
        QCOMPARE(bench.text("Text4"), QString("15"));
        QCOMPARE(bench.text("Text5"), QString("KARASU  "));
        QCOMPARE(bench.text("Text6"), QString("01-001  "));
        QCOMPARE(bench.text("Text7"), QString("SAKARYA "));
        QCOMPARE(bench.text("Label8"), QString::fromUtf8("  PİL ÖMRÜ  600..Gün"));
        QCOMPARE(bench.text("Label9"), QString::fromUtf8("Limnigraf Kaydedilebilecek kalan gün sayısı 149"));
        QCOMPARE(bench.text("Text10"), QString(15, 'I'));
        QVERIFY(bench.form->findChild<QPushButton*>("Command1")->isEnabled());
    }

    void eachSettingWithItsPrompt() {
        SimProcess sim(simArguments(3));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        LevelLoggerForm& form = *bench.form;

        // The level waits for the information command.
        form.fieldDoubleClicked("Text1");
        QVERIFY(bench.dialogs.calls().isEmpty());
        QVERIFY(!form.busy());
        form.Command1_Click();
        QVERIFY(bench.finish());

        bench.dialogs.queueInput("08:15");
        form.fieldDoubleClicked("Text2");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().last().text, QString("yeni limnigraf saatini giriniz '00:00' gibi"));
        QCOMPARE(bench.text("Text2").left(5), QString("08:15"));

        bench.dialogs.queueInput("01/04/2026");
        form.fieldDoubleClicked("Text3");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().last().text,
                 QString("yeni limnigraf tarihini giriniz '01/01/2000 gibi' "));
        QCOMPARE(bench.text("Text3"), QString("01.04.2026"));

        // An interval off the list asks again.
        bench.dialogs.queueInput("7");
        bench.dialogs.queueInput("60");
        const int before = bench.dialogs.calls().size();
        form.fieldDoubleClicked("Text4");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().size(), before + 2);
        QCOMPARE(bench.dialogs.calls().last().defaultAnswer, QString("30"));
        QCOMPARE(bench.text("Text4"), QString("60"));

        bench.dialogs.queueInput(QString::fromUtf8("ÇAYIR"));
        form.fieldDoubleClicked("Text5");
        QVERIFY(bench.finish());
        QCOMPARE(bench.text("Text5"), QString::fromUtf8("ÇAYIR   "));
        bench.dialogs.queueInput("02-002");
        form.fieldDoubleClicked("Text6");
        QVERIFY(bench.finish());
        QCOMPARE(bench.text("Text6"), QString("02-002  "));
        bench.dialogs.queueInput("KIZILIRMAK");
        form.fieldDoubleClicked("Text7");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().last().text, QString::fromUtf8("yeni su adı giriniz"));
        QCOMPARE(bench.text("Text7"), QString("KIZILIRM"));

        bench.dialogs.queueInput("0123");
        form.fieldDoubleClicked("Text1");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().last().text, QString::fromUtf8("yeni eşel seviyesini giriniz"));
        QCOMPARE(bench.text("Text1"), QString("0123"));

        // The unit toggle: no prompt; the level shown again in centimetres.
        const int prompts = bench.dialogs.calls().size();
        form.fieldDoubleClicked("Text8");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().size(), prompts);
        QCOMPARE(form.view().levelUnitCode, 10);
        QCOMPARE(bench.text("Text8"), QString(" cm"));
        QCOMPARE(bench.text("Text1"), QString("0012"));
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
    }

    void wrongAndCancelledAnswersSendNothing() {
        SimProcess sim(simArguments(3));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        LevelLoggerForm& form = *bench.form;
        form.Command1_Click();
        QVERIFY(bench.finish());
        const QString name = bench.text("Text5");

        bench.dialogs.queueInput("12a4");
        form.fieldDoubleClicked("Text1");
        QVERIFY(!form.busy());
        QCOMPARE(bench.dialogs.messages(), QStringList{QString::fromUtf8("yanlış değer girişi")});

        for (const char* field : {"Text2", "Text3", "Text4"}) {
            bench.dialogs.queueInput("");
            form.fieldDoubleClicked(field);
            QVERIFY2(!form.busy(), field);
        }
        bench.dialogs.queueCancel();
        form.fieldDoubleClicked("Text5");
        QVERIFY(!form.busy());
        QCOMPARE(bench.text("Text5"), name);
    }

    void doubleClickOnTheBoxRunsTheSetting() {
        SimProcess sim(simArguments(3));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(bench.form.get()));
        QTest::qWait(50); // the activation's port check
        bench.dialogs.queueInput("ABC");
        QTest::mouseDClick(bench.form->findChild<QLineEdit*>("Text7"), Qt::LeftButton);
        QVERIFY(bench.finish());
        QCOMPARE(bench.text("Text7"), QString("ABC     "));
        QVERIFY(bench.dialogs.messages().isEmpty());
    }

    void downloadAndConversionDayByDay() {
        QTemporaryDir scratch;
        const std::string image = scratch.path().toStdString() + "/memory";
        SimProcess sim(simArguments(200, {"--save-memory", image}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.dialogs.queueInput("01-001");

        // The screen keeps handling events while the memory comes in.
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(1);
        bench.form->Command2_Click();
        QVERIFY(bench.finish());
        QVERIFY(ticks > 0);
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.text("Text9"), QString::fromUtf8("Sagım yapıldı"));
        QCOMPARE(readFileBytes(bench.dump()), readFileBytes(image));

        const auto& prompt = bench.dialogs.calls().last();
        QCOMPARE(prompt.text,
                 QString::fromUtf8("Su   Yıllığa    kayıt   için   şu  an  Aktif  İstasyon  numarasını  "
                                   "onaylıyormusunuz"));
        QCOMPARE(prompt.title, QString::fromUtf8("Limnigraftaki istasyon numarası  01-001  "));
        QCOMPARE(prompt.defaultAnswer, QString("01-001  "));

        sim::LevelMemoryPlan plan;
        plan.today = {2026, 3, 15};
        plan.minutesNow = 600;
        plan.days = 200;
        const sim::LevelMemory memory = sim::generateLevelMemory(plan);
        const fs::path station = bench.hub.state.stationDir;
        int checked = 0;
        for (const sim::SimulatedDay& day : memory.days) {
            if (!day.intact)
                continue;
            const OleDate date = OleDate::fromDate(day.date);
            const auto records =
                readWaterYearFile(station / waterYearFileName(waterYearOfDate(date), "01-001"));
            const auto n = findDay(records, date);
            QVERIFY(n);
            const double sum = std::accumulate(day.readings.begin(), day.readings.end(), 0.0);
            QCOMPARE(records[*n - 1].meanValue,
                     static_cast<float>(roundHalfEven(sum / day.readings.size() / 10)));
            ++checked;
        }
        QCOMPARE(checked, 160);
        QVERIFY(fs::exists(station / "KAR15-3 .-26"));
    }

    void aCancelledStationNumberWritesNoDays() {
        SimProcess sim(simArguments(5));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.dialogs.queueCancel();
        bench.form->Command2_Click();
        QVERIFY(bench.finish());
        QVERIFY(fs::exists(bench.dump()));
        QVERIFY(onlyKeptDownloads(bench.hub.state.stationDir));
        // Kept all the same, and not converted.
        const auto kept = listKeptDownloads(bench.hub.state.stationDir);
        QCOMPARE(kept.size(), std::size_t(1));
        QVERIFY(kept[0].complete);
        QCOMPARE(kept[0].station, std::string());
    }

    // A kept download converted again: the water year comes back as the download wrote it.
    void aKeptDownloadConvertsAgain() {
        SimProcess sim(simArguments(40));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.dialogs.queueInput("01-001");
        bench.form->Command2_Click();
        QVERIFY(bench.finish());
        const fs::path year = bench.hub.state.stationDir / "2026_01-001.ard";
        const auto written = readFileBytes(year);
        QVERIFY(written);
        fs::remove(year);

        KeptDownloadsPanel& panel = *bench.form->keptDownloadsPanel();
        QCOMPARE(panel.downloads().size(), std::size_t(1));
        QCOMPARE(panel.findChild<QLabel*>("KeptDownloadsTotal")->text().left(17),
                 QString::fromUtf8("Toplam: 1 sağım, "));
        panel.ReconvertCommand_Click();
        QCOMPARE(bench.dialogs.messages().last(), QString::fromUtf8("Listeden bir sağım seçiniz"));
        panel.choose(0);
        bench.dialogs.queueInput("01-001");
        panel.findChild<QPushButton*>("ReconvertCommand")->click();
        QCOMPARE(readFileBytes(year), written);
        const auto kept = listKeptDownloads(bench.hub.state.stationDir);
        QCOMPARE(kept[0].history.size(), std::size_t(2));
        QCOMPARE(kept[0].station, std::string("01-001"));
    }

    // Another number confirmed names the files of this conversion only: the station record
    // keeps describing the chosen station, so later commands do not name files after another.
    void aConfirmedNumberNamesTheConvertedFilesOnly() {
        SimProcess sim(simArguments(5));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.dialogs.queueInput("01-009");
        bench.form->Command2_Click();
        QVERIFY(bench.finish());
        QVERIFY(fs::exists(bench.hub.state.stationDir / waterYearFileName(2026, "01-009")));
        QCOMPARE(bench.hub.current().record.stationNumber, std::string("01-001  "));
    }

    void eraseThroughTheEraseScreen() {
        SimProcess sim(simArguments(5));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command1_Click();
        QVERIFY(bench.finish());
        QCOMPARE(bench.text("Text5"), QString("KARASU  "));

        // Once the erase screen is up: check it and press "Devam"; never leave it open.
        bool clicked = false;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, [&] {
            auto* erase = qobject_cast<EraseForm*>(QApplication::activeModalWidget());
            if (erase == nullptr)
                return;
            if (!clicked) {
                clicked = true;
                QCOMPARE(erase->objectName(), QString("Form2"));
                QCOMPARE(erase->windowTitle(), QString::fromUtf8(" Cihazın hafızasını siler"));
                QCOMPARE(erase->findChild<QPushButton*>("Command1")->text(), QString("Devam"));
                QCOMPARE(erase->findChild<QPushButton*>("Command2")->text(), QString::fromUtf8("İptal"));
                erase->findChild<QPushButton*>("Command1")->click();
            } else if (waited.elapsed() > 10000) {
                erase->reject();
            }
        });
        poll.start(10);
        bench.form->Command3_Click(); // returns when the erase screen closes
        QVERIFY(clicked);
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.text("Text5"), QString());
        QCOMPARE(bench.text("Text6"), QString());
        QCOMPARE(bench.text("Text7"), QString());
        auto* button = bench.form->findChild<QPushButton*>("Command3");
        QCOMPARE(button->text(), QString::fromUtf8("Hafıza silindi"));
        QVERIFY(!button->isEnabled());
    }

    void eraseWithoutAnswerIsAConnectionLost() {
        SimProcess sim(simArguments(5, {"--fault", "silence"}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        EraseForm erase(
            [port = sim.path()]() -> std::unique_ptr<SerialLink> {
                auto link = std::make_unique<QtSerialLink>();
                link->setLineSettings(kInstrumentLine);
                link->setPort(port);
                return link;
            },
            [] { return std::make_unique<SteadyClock>(10.0); });
        erase.Command1_Click();
        QVERIFY(erase.worker().waitForIdle(5000));
        QCOMPARE(bench.dialogs.messages(), QStringList{QString::fromUtf8("bağlantı kesildi")});
    }

    void faultsGiveTryAgain() {
        // A silent logger: six wake-ups of 2 s each, run ten times faster.
        {
            SimProcess sim(simArguments(3, {"--fault", "silence"}));
            QVERIFY(sim.running());
            Bench bench(sim.path());
            bench.form->setClockFactory([] { return std::make_unique<SteadyClock>(10.0); });
            bench.form->Command1_Click();
            QVERIFY(bench.finish());
            QCOMPARE(bench.dialogs.messages(), QStringList{"Yeniden deneyin"});
            QCOMPARE(bench.text("Text2"), QString());
        }
        // One byte too many in the date reply: the fields before it keep their new values.
        {
            SimProcess sim(simArguments(3, {"--fault", "extra@0x03"}));
            QVERIFY(sim.running());
            Bench bench(sim.path());
            bench.form->setClockFactory([] { return std::make_unique<SteadyClock>(10.0); });
            bench.form->Command1_Click();
            QVERIFY(bench.finish());
            QCOMPARE(bench.dialogs.messages(), QStringList{"Yeniden deneyin"});
            QCOMPARE(bench.text("Text2"), QString("10:00:00"));
            QCOMPARE(bench.text("Text3"), QString());
        }
        // A download cut off halfway: the old dump stays whole and no day is written.
        {
            SimProcess sim(simArguments(30, {"--fault", "cutoff"}));
            QVERIFY(sim.running());
            Bench bench(sim.path());
            fs::create_directories(bench.dump().parent_path());
            const Bytes old(32768, 0x5A);
            writeFileAtomic(bench.dump(), old);
            bench.form->setClockFactory([] { return std::make_unique<SteadyClock>(10.0); });
            bench.form->Command2_Click();
            QVERIFY(bench.finish());
            QCOMPARE(bench.dialogs.messages(), QStringList{"Yeniden deneyin"});
            QCOMPARE(readFileBytes(bench.dump()), std::optional<Bytes>(old));
            QVERIFY(onlyKeptDownloads(bench.hub.state.stationDir));
            QVERIFY(bench.text("Text9").toInt() > 0);
            // What came is kept, marked incomplete, with the log of the session.
            const auto kept = listKeptDownloads(bench.hub.state.stationDir);
            QCOMPARE(kept.size(), std::size_t(1));
            QVERIFY(!kept[0].complete);
            QCOMPARE(kept[0].bytes, std::uintmax_t(32769 / 2 - 1));
            QVERIFY(fs::file_size(kept[0].log) > 0);
        }
    }

    void closingTheScreenEndsADownloadAtOnce() {
        SimProcess sim(simArguments(30, {"--rate", "2000"})); // about 16 s for the whole memory
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command2_Click();
        QTRY_VERIFY_WITH_TIMEOUT(bench.text("Text9").toInt() > 0, 5000);
        QElapsedTimer closing;
        closing.start();
        bench.form.reset();
        QVERIFY(closing.elapsed() < 1000);
        QVERIFY(!fs::exists(bench.dump()));
        QVERIFY(bench.dialogs.messages().isEmpty());
    }

    void anUnsuitablePortIsReportedOnActivation() {
        Bench bench("/nonexistent/port");
        bench.form->Form_Activate();
        QCOMPARE(bench.dialogs.messages(), QStringList{"Secili comm port uygun deyil"});
        // The outcome of an earlier download does not stay beside the new command's message.
        bench.form->findChild<QLineEdit*>(QStringLiteral("Text9"))
            ->setText(QString::fromUtf8("Sagım yapıldı"));
        bench.form->Command1_Click();
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.messages().last(), QString("Secili comm port uygun deyil"));
        QCOMPARE(bench.text("Text9"), QString());
    }
};

QTEST_MAIN(LevelLoggerFormTest)
#include "LevelLoggerFormTest.moc"
