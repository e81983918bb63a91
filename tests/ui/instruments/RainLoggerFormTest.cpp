#include "ui/instruments/RainLoggerForm.h"

#include "InstrumentBench.h"
#include "core/FileIO.h"
#include "instruments/RainLogger.h"
#include "sim/SimProcess.h"
#include "store/RainYearFile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> rainSim(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--device", "rain",   "--date", "15.03.2026", "--time", "10:00",   "--days",
                                  "20",       "--seed", "3",      "--bucket",   "1",      "--total", "317"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A rain logger screen on a scratch drive, its port (stored for "suvak2000") the simulator's.
struct Bench : InstrumentBench {
    explicit Bench(const std::string& port) : InstrumentBench(port, SettingsStore::kRainLogger) {
        form = std::make_unique<RainLoggerForm>(context, hub);
    }

    QString text(const char* name) const { return controlText(*form, name); }
    bool finish(int ms = 10000) { return form->worker().waitForIdle(ms); }
    fs::path dump() const { return context.paths.korvel96Root() / "hamdata.plu"; }
    fs::path yearFile() const { return hub.state.stationDir / "2026_01-001  .yrd"; }

    std::unique_ptr<RainLoggerForm> form;
};

} // namespace

class RainLoggerFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
    }

    void controlsAndCaptions() {
        Bench bench("/dev/null");
        RainLoggerForm& form = *bench.form;
        QCOMPARE(form.objectName(), QString("pluviograf"));
        QCOMPARE(form.windowTitle(), QString::fromUtf8("Pluviograf ile iletişim & sağım"));
        QCOMPARE(form.findChild<QPushButton*>("Command1")->text(), QString("Pluviograftan Bilgileri Al"));
        QCOMPARE(form.findChild<QPushButton*>("Command3")->text(),
                 QString::fromUtf8("pluviografın hafızasını Sil"));
        QCOMPARE(form.findChild<QPushButton*>("Command4")->text(), QString("Command4"));
        QStringList captions;
        for (int i = 1; i <= 7; ++i)
            captions << form.findChild<QLabel*>(QStringLiteral("Caption%1").arg(i))->text();
        QCOMPARE(captions, QString::fromUtf8("TOPLAM YAĞIŞ|PLUVİOGRAF  SAATİ|PLUVİOGRAFTARİHİ|KAYIT ŞEKLİ |"
                                             "İSTASYON ADI|İSTASYON NO|BÖLGE ADI")
                               .split('|'));
    }

    void informationAndBucketSetting() {
        SimProcess sim(rainSim());
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command1_Click();
        QVERIFY(bench.finish());
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.text("Text1"), QString("0317"));
        QCOMPARE(bench.text("Text4"), QString("1"));
        QCOMPARE(bench.form->view().bucketFactor, 1);
        QVERIFY(bench.text("Label9").startsWith(QString::fromUtf8("Pluviografta boş RAM uzunluğu")));

        bench.dialogs.queueInput("300");
        bench.form->fieldDoubleClicked("Text4");
        QVERIFY(!bench.form->busy());
        QCOMPARE(bench.dialogs.messages().last(), QString::fromUtf8("yanlış değer girişi"));
        QCOMPARE(bench.form->view().bucketFactor, 1);

        bench.dialogs.queueInput("3");
        bench.form->fieldDoubleClicked("Text4");
        QVERIFY(bench.finish());
        QCOMPARE(bench.dialogs.calls().last().text, QString::fromUtf8("pluviograf kefe ayarı"));
        QCOMPARE(bench.text("Text4"), QString("3"));
        QCOMPARE(bench.form->view().bucketFactor, 3);
    }

    void downloadConvertsIntoTheRainfallYear() {
        SimProcess sim(rainSim());
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command1_Click();
        QVERIFY(bench.finish());
        bench.dialogs.queueInput("01-001");
        bench.form->Command2_Click();
        QVERIFY(bench.finish());
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        QCOMPARE(bench.dialogs.calls().last().title,
                 QString::fromUtf8("Limnigraftaki istasyon numarası  01-001  "));
        QCOMPARE(bench.text("Text9"), QString::fromUtf8("Kayıd tamamlandı"));
        const auto image = readFileBytes(bench.dump());
        QVERIFY(image);
        QVERIFY(fs::exists(bench.yearFile()));
        const DecodedRainDump decoded = decodeRainDump(*image);
        const auto records = parseRainYearFile(readFileBytes(bench.yearFile()).value_or(Bytes{}));
        for (const DownloadedRainDay& day : decoded.days) {
            const auto k = findRecordByDate(records, day.day);
            QVERIFY(k);
            for (const auto& [minute, tips] : day.tipCounts)
                QCOMPARE(int(records[*k - 1].minuteRain[static_cast<std::size_t>(minute)]), tips);
        }

        // Command4 converts the dump on disk again; an empty answer ends it without writing.
        fs::remove(bench.yearFile());
        bench.dialogs.queueInput("");
        bench.form->Command4_Click();
        QVERIFY(!fs::exists(bench.yearFile()));
        bench.dialogs.queueInput("01-001");
        bench.form->Command4_Click();
        QVERIFY(fs::exists(bench.yearFile()));
    }

    void silentLoggerAsksToTryAgain() {
        SimProcess sim(rainSim({"--fault", "silence@0x04"}));
        QVERIFY(sim.running());
        Bench bench(sim.path());
        bench.form->Command1_Click();
        QVERIFY(bench.finish(20000));
        QCOMPARE(bench.dialogs.messages().last(), QString("Yeniden deneyin"));
    }
};

QTEST_MAIN(RainLoggerFormTest)
#include "RainLoggerFormTest.moc"
