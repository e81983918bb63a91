#include "ui/instruments/PortSettingsForm.h"

#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using korvel::PortSettingsForm;
using korvel::SettingsStore;

class PortSettingsFormTest : public QObject {
    Q_OBJECT

private slots:
    void listsAndStoredValues() {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        settings.setComPort("Com4");
        settings.setComSpeed("4800");
        PortSettingsForm form(&settings);
        QCOMPARE(form.objectName(), QString("frmProperties"));
        QCOMPARE(form.windowTitle(), QString("CommPort ayarlar"));
        auto* port = form.findChild<QComboBox*>("portno");
        auto* speed = form.findChild<QComboBox*>("baudhizi");
        QCOMPARE(port->count(), 6);
        QCOMPARE(port->itemText(0), QString("Com1"));
        QCOMPARE(port->itemText(5), QString("Com6"));
        QStringList speeds;
        for (int i = 0; i < speed->count(); ++i)
            speeds << speed->itemText(i);
        QCOMPARE(speeds, QStringList({"1200", "2400", "4800", "9600", "19200"}));
        QCOMPARE(port->currentText(), QString("Com4"));
        QCOMPARE(speed->currentText(), QString("4800"));
        QCOMPARE(form.findChild<QLabel*>("Label1")->text(), QString("Port:"));
        QCOMPARE(form.findChild<QGroupBox*>("Frame1")->title(), QString::fromUtf8("Makimum hız"));
        QCOMPARE(form.findChild<QPushButton*>("cmdOK")->text(), QString("Tamam"));
        QCOMPARE(form.findChild<QPushButton*>("cmdCancel")->text(), QString::fromUtf8("Vaz geç"));
        QVERIFY(form.findChild<QTabBar*>("tabSettings") != nullptr);
    }

    void nothingStoredShowsEmptyTexts() {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        PortSettingsForm form(&settings);
        QCOMPARE(form.findChild<QComboBox*>("portno")->currentText(), QString());
        QCOMPARE(form.findChild<QComboBox*>("baudhizi")->currentText(), QString());
    }

    void okStoresTheTextsAsShown() {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        PortSettingsForm form(&settings);
        form.findChild<QComboBox*>("portno")->setEditText("/dev/ttyUSB0");
        form.findChild<QComboBox*>("baudhizi")->setCurrentIndex(4);
        form.findChild<QPushButton*>("cmdOK")->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(settings.comPort(), QString("/dev/ttyUSB0"));
        QCOMPARE(settings.comSpeed(), QString("19200"));
        // The rain screen's application is never written.
        QCOMPARE(settings.comPort(SettingsStore::kRainLogger), QString());
    }

    void cancelLeavesTheStoredValues() {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        settings.setComPort("Com2");
        settings.setComSpeed("9600");
        PortSettingsForm form(&settings);
        form.findChild<QComboBox*>("portno")->setCurrentIndex(5);
        form.findChild<QComboBox*>("baudhizi")->setCurrentIndex(0);
        form.findChild<QPushButton*>("cmdCancel")->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(settings.comPort(), QString("Com2"));
        QCOMPARE(settings.comSpeed(), QString("9600"));
    }
};

QTEST_MAIN(PortSettingsFormTest)
#include "PortSettingsFormTest.moc"
