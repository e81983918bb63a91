#include "platform/QtSerialLink.h"

#include "instruments/LevelLogger.h"
#include "platform/PortDevices.h"
#include "platform/PortLock.h"
#include "platform/PosixSerialLink.h"
#include "platform/SettingsStore.h"
#include "sim/SimProcess.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace korvel;
using namespace korvel::testing;

namespace {

std::vector<std::string> simArguments() {
    return {"--date", "15.03.2026", "--time", "10:00", "--days", "20"};
}

template <typename Link> void informationThrough(Link& link) {
    SteadyClock clock;
    Exchange exchange(link, clock);
    const CommandOutcome outcome = readInformation(exchange);
    QVERIFY2(outcome.ok, outcome.message.c_str());
    QCOMPARE(outcome.replies.size(), std::size_t(10));
    QCOMPARE(outcome.replies[3].reply, (Bytes{0x03, 15, 3, 26}));
    QVERIFY(!link.isOpen());
}

} // namespace

class QtSerialLinkTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (!SimProcess::available())
            QSKIP("korvel-sim is not built");
    }

    void bothLinksTalkToTheSimulator() {
        SimProcess sim(simArguments());
        QVERIFY(sim.running());
        QtSerialLink qt;
        qt.setLineSettings(kInstrumentLine);
        qt.setPort(sim.path());
        QCOMPARE(qt.device(), sim.path());
        informationThrough(qt);
        PosixSerialLink posix;
        posix.setPort(sim.path());
        informationThrough(posix);
    }

    void downloadThroughQSerialPort() {
        QTemporaryDir dir;
        const std::string image = dir.path().toStdString() + "/memory";
        std::vector<std::string> args = simArguments();
        args.insert(args.end(), {"--save-memory", image});
        SimProcess sim(args);
        QVERIFY(sim.running());
        QtSerialLink link;
        link.setPort(sim.path());
        SteadyClock clock;
        Exchange exchange(link, clock);
        const DownloadOutcome outcome = downloadMemory(exchange);
        QVERIFY2(outcome.ok, outcome.message.c_str());
        QFile saved(QString::fromStdString(image));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray expected = saved.readAll();
        QCOMPARE(
            QByteArray(reinterpret_cast<const char*>(outcome.image.data()), qsizetype(outcome.image.size())),
            expected);
    }

    void aComPortLeadsToItsDevice() {
        SimProcess sim(simArguments());
        QVERIFY(sim.running());
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        settings.setValue(SettingsStore::kKorvel, "com", "device3", QString::fromStdString(sim.path()));
        QtSerialLink link(portDeviceOverride(&settings));
        link.setPort("Com3");
        QCOMPARE(link.device(), sim.path());
        informationThrough(link);

        // The environment comes before the settings store.
        ::setenv("KORVEL_COM3", "/dev/null-port", 1);
        QCOMPARE(link.device(), std::string("/dev/null-port"));
        ::unsetenv("KORVEL_COM3");
        QtSerialLink plain(portDeviceOverride(nullptr));
        plain.setPort("Com3");
        QCOMPARE(plain.device(), std::string("/dev/ttyS2"));
    }

    void aPortThatCannotBeOpened() {
        QtSerialLink link;
        link.setPort("/nonexistent/port");
        QVERIFY(!link.open());
        QCOMPARE(probePort(link, "/nonexistent/port"),
                 std::optional<std::string>("Secili comm port uygun deyil"));
        PosixSerialLink posix;
        posix.setPort("/dev/null"); // not a terminal
        QVERIFY(!posix.open());
    }

    void aBusyPortCannotBeOpenedTwice() {
        SimProcess sim(simArguments());
        QVERIFY(sim.running());
        QtSerialLink first;
        first.setPort(sim.path());
        QVERIFY(first.open());
        QtSerialLink second;
        second.setPort(sim.path());
        QVERIFY(!second.open());
        first.close();
        QVERIFY(second.open());
    }

    void theProgramAndTheToolNeverShareAPort() {
        SimProcess sim(simArguments());
        QVERIFY(sim.running());
        const std::string lockFile = portLockPath(sim.path());
        QVERIFY(!lockFile.empty());

        // The desktop program's port keeps the tool out, with the message of a busy port.
        QtSerialLink desktop;
        desktop.setPort(sim.path());
        QVERIFY(desktop.open());
        QVERIFY(std::filesystem::exists(lockFile));
        PosixSerialLink tool;
        tool.setLineSettings(kInstrumentLine);
        tool.setPort(sim.path());
        QVERIFY(!tool.open());
        SteadyClock clock;
        Exchange exchange(tool, clock);
        const CommandOutcome refused = readInformation(exchange);
        QCOMPARE(refused.message, std::string("Secili comm port uygun deyil"));
        desktop.close();

        // The tool's port keeps the desktop program out, however long it holds it.
        QVERIFY(tool.open());
        QVERIFY(std::filesystem::exists(lockFile));
        QVERIFY(portLockHeld(sim.path()));
        QVERIFY(!desktop.open());
        tool.close();
        QVERIFY(!std::filesystem::exists(lockFile));
        informationThrough(desktop);
    }

    void aLockLeftByAnEndedProcessIsTakenOver() {
        SimProcess sim(simArguments());
        QVERIFY(sim.running());
        const std::string lockFile = portLockPath(sim.path());
        {
            std::ofstream stale(lockFile);
            stale << "2147483646\nkorvel\n\n";
        }
        QVERIFY(!portLockHeld(sim.path()));
        PosixSerialLink tool;
        tool.setPort(sim.path());
        informationThrough(tool);
        QVERIFY(!std::filesystem::exists(lockFile));
    }
};

QTEST_MAIN(QtSerialLinkTest)
#include "QtSerialLinkTest.moc"
