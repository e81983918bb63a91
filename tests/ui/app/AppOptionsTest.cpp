#include "app/AppOptions.h"

#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

class AppOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(home_.isValid() && drive_.isValid()); }

    void driveComesFromTheOptionThenTheEnvironmentThenHome() {
        AppEnvironment env;
        env.home = home_.path();
        QCOMPARE(parse({}, env).drive, path(home_));
        env.drive = drive_.path();
        QCOMPARE(parse({}, env).drive, path(drive_));
        env.drive = "/no/such/dir";
        QCOMPARE(parse({"--drive", drive_.path()}, env).drive, path(drive_));
        QCOMPARE(parse({"--drive=" + home_.path()}, env).drive, path(home_));
    }

    void aDriveThatIsNotADirectoryIsRefused() {
        AppEnvironment env;
        const AppOptions options = parse({"--drive", "/no/such/dir"}, env);
        QCOMPARE(options.error, QString::fromUtf8("Sürücü klasörü bulunamadı: /no/such/dir"));
    }

    void localeComesFromTheOptionOrTheEnvironment() {
        AppEnvironment env;
        env.home = home_.path();
        QCOMPARE(parse({"--locale", "en_US"}, env).locale.name(), Locale::american().name());
        env.lang = "en_US.UTF-8";
        QCOMPARE(parse({}, env).locale.name(), Locale::american().name());
        env.locale = "tr_TR";
        QCOMPARE(parse({}, env).locale.name(), Locale::turkish().name());
        QCOMPARE(parse({"--locale=en_US"}, env).locale.name(), Locale::american().name());
    }

    void cAndPosixGiveTurkish() {
        AppEnvironment env;
        env.home = home_.path();
        env.lcAll = "C";
        QCOMPARE(parse({}, env).locale.name(), Locale::turkish().name());
        env.lcAll = "POSIX";
        QCOMPARE(parse({}, env).locale.name(), Locale::turkish().name());
    }

    void badArgumentsAreErrors() {
        AppEnvironment env;
        env.home = home_.path();
        QCOMPARE(parse({"--locale", "xx_YY"}, env).error, QString::fromUtf8("Bilinmeyen yerel ayar: xx_YY"));
        QCOMPARE(parse({"--drive"}, env).error, QString::fromUtf8("--drive için bir değer gerekli"));
        QCOMPARE(parse({"--colour"}, env).error, QString::fromUtf8("Bilinmeyen seçenek: --colour"));
        QVERIFY(parse({"--help"}, env).help);
        QVERIFY(parse({"--help"}, env).error.isEmpty());
    }

private:
    static AppOptions parse(QStringList arguments, const AppEnvironment& env) {
        arguments.prepend("korvel2000");
        return parseAppOptions(arguments, env);
    }
    static std::filesystem::path path(const QTemporaryDir& dir) { return dir.path().toStdString(); }

    QTemporaryDir home_;
    QTemporaryDir drive_;
};

QTEST_MAIN(AppOptionsTest)
#include "AppOptionsTest.moc"
