#include "ui/instruments/CurrentMeterForms.h"

#include "InstrumentBench.h"
#include "sim/SimProcess.h"
#include "ui/instruments/InstrumentPort.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;
using namespace korvel::testing;

namespace {

using Bench = InstrumentBench;

} // namespace

class CurrentMeterFormsTest : public QObject {
    Q_OBJECT

private slots:
    void editorRefusesBeforeTalkingToTheMeter() {
        Bench bench("/dev/null");
        CoefficientEditor editor(bench.context, storedPortLink(bench.context), steadyClock());
        QCOMPARE(editor.objectName(), QString("mulinedit"));
        editor.findChild<QLineEdit*>("Text1")->setText("0,5");
        editor.findChild<QLineEdit*>("Text2")->setText("0,02");
        editor.findChild<QLineEdit*>("Text3")->setText("212");
        editor.Command1_Click();
        QCOMPARE(bench.dialogs.messages().last(), QString::fromUtf8("GİRİLEN ZAMAN İZİNSİZ"));
    }

    void editorWritesAndReadsBackThroughTheSimulator() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
        SimProcess sim({"--device", "meter"});
        QVERIFY(sim.running());
        Bench bench(sim.path());
        CoefficientEditor editor(bench.context, storedPortLink(bench.context), steadyClock());
        editor.findChild<QLineEdit*>("Text1")->setText("0,5");
        editor.findChild<QLineEdit*>("Text2")->setText("0,04");
        editor.findChild<QLineEdit*>("Text3")->setText("100");
        editor.Command1_Click();
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        for (const char* name : {"Text1", "Text2", "Text3"})
            editor.findChild<QLineEdit*>(name)->clear();
        editor.Command2_Click();
        QVERIFY2(bench.dialogs.messages().isEmpty(), qPrintable(bench.dialogs.messages().join('|')));
        // T' = round(118.18) = 118, time = 118 x 55 / 65; X = 500; Y = 40.
        QCOMPARE(editor.findChild<QLineEdit*>("Text2")->text(), QString("0,04"));
        QVERIFY(editor.findChild<QLineEdit*>("Text3")->text().startsWith("99,846"));
        QVERIFY(editor.findChild<QLineEdit*>("Text1")->text().startsWith("0,499"));
    }

    void meterScreenAndDataCarrier() {
        Bench bench("/dev/null");
        CurrentMeterForm meter(bench.context, bench.hub);
        QCOMPARE(meter.objectName(), QString("muline1"));
        meter.findChild<QScrollBar*>("HScroll1")->setValue(42);
        QCOMPARE(meter.findChild<QLineEdit*>("Text3")->text(), QString("42"));
        meter.findChild<QLineEdit*>("Text3")->setText("7,5");
        meter.Text3_Enter();
        QCOMPARE(meter.findChild<QScrollBar*>("HScroll1")->value(), 42);
        meter.findChild<QLineEdit*>("Text3")->setText("17");
        meter.Text3_Enter();
        QCOMPARE(meter.findChild<QScrollBar*>("HScroll1")->value(), 17);

        DataCarrierForm carrier(bench.context, bench.hub);
        QCOMPARE(carrier.objectName(), QString("Bilgihamali"));
        carrier.Command1_Click();
        QCOMPARE(bench.dialogs.messages().last(), QString::fromUtf8("Bağlı cihaz bilgihamalı değil"));
    }
};

QTEST_MAIN(CurrentMeterFormsTest)
#include "CurrentMeterFormsTest.moc"
