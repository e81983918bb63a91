#include "ui/common/PleaseWait.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using korvel::PleaseWait;

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class PleaseWaitTest : public QObject {
    Q_OBJECT

private slots:
    void progressIsShownAndRepaintedWithoutWaitingForTheEventLoop() {
        PleaseWait wait;
        wait.setRange(0, 366);
        wait.start();
        QVERIFY(wait.isVisible());
        QVERIFY(!wait.isModal());
        QCOMPARE(wait.objectName(), QString("bekleyiniz"));
        QCOMPARE(wait.windowTitle(), QString::fromUtf8("Lütfen bekleyiniz"));

        auto* bar = wait.findChild<QProgressBar*>("ProgressBar1");
        QVERIFY(bar != nullptr);
        PaintCounter counter;
        bar->installEventFilter(&counter);
        for (int record = 1; record <= 366; ++record)
            wait.setValue(record);
        QCOMPARE(bar->value(), 366);
        QCOMPARE(bar->maximum(), 366);
        QVERIFY(counter.paints > 0);

        wait.setValue(500);
        QCOMPARE(wait.value(), 366);
        wait.setValue(-3);
        QCOMPARE(wait.value(), 0);
    }

    void textGoesToTheLabel() {
        PleaseWait wait(nullptr, "Korelasyon");
        wait.start();
        wait.setText(QString::fromUtf8(" Taranan..  c:\\korvel2000\\x\\2001_1.ard"));
        QCOMPARE(wait.windowTitle(), QString("Korelasyon"));
        QCOMPARE(wait.findChild<QLabel*>("Label1")->text(),
                 QString::fromUtf8(" Taranan..  c:\\korvel2000\\x\\2001_1.ard"));
    }

    void plainWindowHasNoCancelAndIgnoresEscape() {
        PleaseWait wait;
        wait.start();
        QVERIFY(!wait.isCancellable());
        QVERIFY(wait.findChild<QPushButton*>() == nullptr);
        QTest::keyClick(&wait, Qt::Key_Escape);
        QVERIFY(wait.isVisible());
        QVERIFY(!wait.wasCancelled());
    }

    void cancelButtonAndEscapeCancelOnce() {
        PleaseWait wait(nullptr, PleaseWait::kDefaultCaption, true);
        wait.start();
        QSignalSpy cancelled(&wait, &PleaseWait::cancelled);
        auto* button = wait.findChild<QPushButton*>("Command1");
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QString::fromUtf8("İptal"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(wait.wasCancelled());
        QTest::keyClick(&wait, Qt::Key_Escape);
        QCOMPARE(cancelled.count(), 1);
        QVERIFY(wait.isVisible());
    }
};

QTEST_MAIN(PleaseWaitTest)
#include "PleaseWaitTest.moc"
