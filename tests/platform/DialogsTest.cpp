#include "platform/Dialogs.h"

#include "platform/ScriptedDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using korvel::ScriptedDialogs;

namespace {

// Runs `act` on the modal box once it is open.
void whenModalOpens(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

QPushButton* buttonCaptioned(QWidget* box, const QString& caption) {
    for (QPushButton* button : box->findChildren<QPushButton*>())
        if (button->text().remove('&') == caption)
            return button;
    return nullptr;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void scriptedProviderRecordsMessagesAndTitles() {
        ScriptedDialogs scripted;
        const korvel::DialogProviderScope scope(scripted);
        korvel::showMessage(nullptr, QString::fromUtf8("Lütfen su yılı dosyası seciniz"));
        korvel::showMessage(nullptr, "Yeniden deneyin", "Limnigraf");

        QCOMPARE(scripted.messages(),
                 QStringList({QString::fromUtf8("Lütfen su yılı dosyası seciniz"), "Yeniden deneyin"}));
        QCOMPARE(scripted.calls().at(0).title, QString());
        QCOMPARE(scripted.calls().at(1).title, QString("Limnigraf"));
    }

    void scriptedInputAnswersFromItsQueueThenCancels() {
        ScriptedDialogs scripted;
        const korvel::DialogProviderScope scope(scripted);
        scripted.queueInput("2001");
        scripted.queueCancel();
        scripted.queueInput("");

        QCOMPARE(korvel::askText(nullptr, "Yeni su yılını gririniz"), std::optional<QString>("2001"));
        QCOMPARE(korvel::askText(nullptr, "Yeni su yılını gririniz"), std::nullopt);
        QCOMPARE(korvel::askText(nullptr, "x"), std::optional<QString>(""));
        QCOMPARE(korvel::askText(nullptr, "x"), std::nullopt);

        const auto& call = scripted.calls().at(0);
        QCOMPARE(call.kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(call.text, QString::fromUtf8("Yeni su yılını gririniz"));
        QVERIFY(scripted.messages().isEmpty());
    }

    void scriptedInputRecordsPromptTitleAndDefault() {
        ScriptedDialogs scripted;
        const korvel::DialogProviderScope scope(scripted);
        scripted.queueInput("12345678");
        korvel::askText(nullptr, "Onay", "00000001", QString::fromUtf8("Limnigraftaki istasyon numarası  7"));
        const auto& call = scripted.calls().constFirst();
        QCOMPARE(call.defaultAnswer, QString("00000001"));
        QCOMPARE(call.title, QString::fromUtf8("Limnigraftaki istasyon numarası  7"));
    }

    void scriptedQuestionsDefaultToNo() {
        ScriptedDialogs scripted;
        const korvel::DialogProviderScope scope(scripted);
        scripted.queueAnswer(true);
        QVERIFY(korvel::askYesNo(nullptr, "Silinsin mi?"));
        QVERIFY(!korvel::askYesNo(nullptr, "Silinsin mi?"));
        QVERIFY(!korvel::askOkCancel(nullptr, "Hata"));
        QCOMPARE(scripted.calls().size(), 3);
        QCOMPARE(scripted.calls().at(2).kind, ScriptedDialogs::Kind::OkCancel);
    }

    void scopesNestAndRestoreTheRealBoxes() {
        korvel::DialogProvider* real = &korvel::dialogs();
        QVERIFY(dynamic_cast<korvel::QtDialogProvider*>(real) != nullptr);
        ScriptedDialogs outer;
        {
            const korvel::DialogProviderScope outerScope(outer);
            ScriptedDialogs inner;
            {
                const korvel::DialogProviderScope innerScope(inner);
                QCOMPARE(&korvel::dialogs(), static_cast<korvel::DialogProvider*>(&inner));
            }
            QCOMPARE(&korvel::dialogs(), static_cast<korvel::DialogProvider*>(&outer));
        }
        QCOMPARE(&korvel::dialogs(), real);
    }

    void realMessageBoxCarriesTheProgramCaption() {
        QString caption;
        QString text;
        whenModalOpens([&](QWidget* box) {
            caption = box->windowTitle();
            text = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        korvel::showMessage(nullptr, QString::fromUtf8("Lütfen istasyon secimin yapınız"));
        QCOMPARE(caption, QString("KORVEL2000"));
        QCOMPARE(text, QString::fromUtf8("Lütfen istasyon secimin yapınız"));
    }

    void realInputBoxOffersTheDefaultAndCancelGivesNothing() {
        whenModalOpens([](QWidget* box) { static_cast<QInputDialog*>(box)->accept(); });
        QCOMPARE(korvel::askText(nullptr, "Numara", "00012345"), std::optional<QString>("00012345"));

        whenModalOpens([](QWidget* box) { static_cast<QInputDialog*>(box)->reject(); });
        QCOMPARE(korvel::askText(nullptr, "Numara", "00012345"), std::nullopt);
    }

    void realYesNoBoxHasTurkishButtons() {
        whenModalOpens([](QWidget* box) { buttonCaptioned(box, "Evet")->click(); });
        QVERIFY(korvel::askYesNo(nullptr, "Devam?"));
        whenModalOpens([](QWidget* box) { buttonCaptioned(box, QString::fromUtf8("Hayır"))->click(); });
        QVERIFY(!korvel::askYesNo(nullptr, "Devam?"));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
