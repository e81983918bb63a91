#include "ui/common/DeferredCommand.h"

#include <QTest>

using korvel::DeferredCommand;

class DeferredCommandTest : public QObject {
    Q_OBJECT

private slots:
    void runsOnceAfterTheHandlerReturned() {
        QObject screen;
        int runs = 0;
        DeferredCommand* command = new DeferredCommand(&screen, "Timer1", [&runs] { ++runs; });
        QCOMPARE(screen.findChild<DeferredCommand*>("Timer1"), command);

        command->arm();
        command->arm();
        QVERIFY(command->isArmed());
        QCOMPARE(runs, 0);
        QTRY_COMPARE(runs, 1);
        QVERIFY(!command->isArmed());
        QTest::qWait(20);
        QCOMPARE(runs, 1);
    }

    void runNowDoesOnlyPendingWork() {
        QObject screen;
        int runs = 0;
        DeferredCommand command(&screen, "Timer2", [&runs] { ++runs; });
        command.runNow();
        QCOMPARE(runs, 0);
        command.arm();
        command.runNow();
        QCOMPARE(runs, 1);
        QTest::qWait(20);
        QCOMPARE(runs, 1);
    }

    void workMayArmItAgain() {
        QObject screen;
        int runs = 0;
        DeferredCommand* command = nullptr;
        command = new DeferredCommand(&screen, "Timer1", [&] {
            if (++runs < 3)
                command->arm();
        });
        command->arm();
        QTRY_COMPARE(runs, 3);
        QVERIFY(!command->isArmed());
    }
};

QTEST_MAIN(DeferredCommandTest)
#include "DeferredCommandTest.moc"
