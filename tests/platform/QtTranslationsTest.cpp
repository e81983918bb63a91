#include "platform/QtTranslations.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

QString buttonText(QMessageBox& box, QMessageBox::StandardButton which) {
    return box.button(which)->text().remove('&');
}

} // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    // Runs first: once installed, the Turkish catalogue stays for the whole process.
    void englishKeepsQtsOwnTexts() {
        QVERIFY(!korvel::installQtTranslations(*QCoreApplication::instance(), korvel::Locale::american()));
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(buttonText(box, QMessageBox::Ok), QString("OK"));
    }

    void turkishButtonsOfStandardDialogs() {
        QVERIFY(korvel::installQtTranslations(*QCoreApplication::instance(), korvel::Locale::turkish()));
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(buttonText(box, QMessageBox::Ok), QString("Tamam"));
        QCOMPARE(buttonText(box, QMessageBox::Cancel), QString::fromUtf8("İptal"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
