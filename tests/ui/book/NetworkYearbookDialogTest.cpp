#include "../app/AppTestDrive.h"
#include "core/FileIO.h"
#include "platform/ScriptedDialogs.h"
#include "store/StationRecord.h"
#include "ui/book/NetworkYearbookDialog.h"
#include "ui/common/PleaseWait.h"
#include "ui/station/SeriesExportDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace korvel;

namespace {

std::string fileText(const std::filesystem::path& file) {
    const auto bytes = readFileBytes(file);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

} // namespace

class NetworkYearbookDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theBookOfARegionIsWrittenFromTheDialog() {
        const test::TestDrive drive(true);
        ScriptedDialogs scripted;
        const DialogProviderScope scope(scripted);
        NetworkYearbookDialog dialog(drive.context());
        auto* region = dialog.findChild<QComboBox*>("regionBox");
        auto* basin = dialog.findChild<QComboBox*>("basinBox");
        QVERIFY(region && basin);
        QCOMPARE(region->itemText(0), NetworkYearbookDialog::kAllItems);
        region->setCurrentText("Ankara");
        QVERIFY(basin->findText("01") > 0);
        dialog.findChild<QSpinBox*>("yearBox")->setValue(2004);
        const QTemporaryDir out;
        const QString pdf = out.filePath("kitap.pdf");
        dialog.findChild<QLineEdit*>("fileBox")->setText(pdf);
        QTest::mouseClick(dialog.findChild<QPushButton*>("createButton"), Qt::LeftButton);
        QCOMPARE(scripted.messages().size(), 1);
        QVERIFY2(scripted.messages().front().startsWith(QString::fromUtf8("Yıllık kitap yazıldı: ")),
                 qPrintable(scripted.messages().front()));
        QCOMPARE(fileText(pdf.toStdString()).substr(0, 5), std::string("%PDF-"));
    }

    void aCancelledBookLeavesNoFile() {
        const test::TestDrive drive(true);
        ScriptedDialogs scripted;
        const DialogProviderScope scope(scripted);
        NetworkYearbookDialog dialog(drive.context());
        dialog.findChild<QSpinBox*>("yearBox")->setValue(2004);
        const QTemporaryDir out;
        const QString pdf = out.filePath("kitap.pdf");
        dialog.findChild<QLineEdit*>("fileBox")->setText(pdf);
        QTimer::singleShot(0, &dialog, [&dialog] {
            if (auto* wait = dialog.findChild<PleaseWait*>())
                wait->cancel();
        });
        QVERIFY(!dialog.createBook());
        QVERIFY(scripted.messages().front().contains(QString::fromUtf8("iptal")));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 0);
    }

    void theStationSeriesIsExportedAsWaterMl() {
        const test::TestDrive drive(true);
        ScriptedDialogs scripted;
        const DialogProviderScope scope(scripted);
        const auto station = drive.station("01-001");
        SeriesExportDialog dialog(station, loadStationRecord(station, ""), 2004);
        dialog.findChild<QComboBox*>("formatBox")->setCurrentIndex(1);
        const QTemporaryDir out;
        const QString xml = out.filePath("seri.xml");
        dialog.findChild<QLineEdit*>("fileBox")->setText(xml);
        QVERIFY(dialog.exportSeries());
        const std::string text = fileText(xml.toStdString());
        QVERIFY(text.find("<wml2:Collection") != std::string::npos);
        QVERIFY(text.find("<wml2:time>2003-10-01T00:00:00</wml2:time>") != std::string::npos);
        QVERIFY(text.find("<wml2:time>2004-10-01T00:00:00</wml2:time>") == std::string::npos);
        QVERIFY(scripted.messages().isEmpty());
    }
};

QTEST_MAIN(NetworkYearbookDialogTest)
#include "NetworkYearbookDialogTest.moc"
