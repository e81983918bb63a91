#include "platform/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using korvel::SettingsStore;

class SettingsStoreTest : public QObject {
    Q_OBJECT

private:
    static QString stored(const QTemporaryDir& dir, const QString& application, const QString& key) {
        QSettings file(QDir(dir.path()).filePath(application + ".ini"), QSettings::IniFormat);
        return file.value(key).toString();
    }

private slots:
    void stationPathIsKeptUnderKorvelDosyaPath() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        const QString path = QString::fromUtf8("c:\\korvel2000\\Ankara\\Sakarya\\12-345");
        store.setLastStationPath(path);

        QCOMPARE(store.lastStationPath(), path);
        QCOMPARE(store.value("korvel2000", "dosya", "path"), path);
        QCOMPARE(stored(dir, "korvel2000", "dosya/path"), path);
        QCOMPARE(store.location("korvel2000"), QDir(dir.path()).filePath("korvel2000.ini"));
    }

    void portAndSpeedAreKeptUnderKorvelCom() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.setComPort("Com3");
        store.setComSpeed("19200");

        QCOMPARE(store.comPort(), QString("Com3"));
        QCOMPARE(store.comSpeed(), QString("19200"));
        QCOMPARE(stored(dir, "korvel2000", "com/port"), QString("Com3"));
        QCOMPARE(stored(dir, "korvel2000", "com/hiz"), QString("19200"));
    }

    void rainLoggerApplicationIsSeparate() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.setComPort("Com1");
        store.setComPort("Com2", SettingsStore::kRainLogger);

        QCOMPARE(store.comPort(), QString("Com1"));
        QCOMPARE(store.comPort("suvak2000"), QString("Com2"));
        QCOMPARE(store.comSpeed("suvak2000"), QString());
        QCOMPARE(stored(dir, "suvak2000", "com/port"), QString("Com2"));
    }

    void unwrittenKeysReadEmptyOrTheGivenDefault() {
        QTemporaryDir dir;
        const SettingsStore store(dir.path());
        QCOMPARE(store.lastStationPath(), QString());
        QCOMPARE(store.comPort(), QString());
        QCOMPARE(store.value("korvel2000", "com", "hiz", "9600"), QString("9600"));
    }

    void valuesSurviveANewStoreAndKeepTurkishLetters() {
        QTemporaryDir dir;
        const QString region = QString::fromUtf8("ŞanlıUrfa Göksu İçme");
        SettingsStore(dir.path()).setValue("korvel2000", "dosya", "path", region);
        SettingsStore(dir.path()).setValue("korvel2000", "com", "device2", "/dev/ttyUSB0");

        const SettingsStore reopened(dir.path());
        QCOMPARE(reopened.lastStationPath(), region);
        QCOMPARE(reopened.comDevice(2), QString("/dev/ttyUSB0"));
        QCOMPARE(reopened.comDevice(1), QString());
    }

    void overwritingKeepsTheOtherKeys() {
        QTemporaryDir dir;
        SettingsStore store(dir.path());
        store.setComPort("Com1");
        store.setComSpeed("2400");
        store.setComPort("Com4");
        QCOMPARE(store.comPort(), QString("Com4"));
        QCOMPARE(store.comSpeed(), QString("2400"));
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
