#include "ui/transfer/SuvakTransferScreen.h"

#include "TransferDrive.h"
#include "core/FileIO.h"
#include "store/WaterYearFile.h"
#include "transfer/SuvakFiles.h"

#include <QPushButton>
#include <QTest>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

const QString kRefusal = QStringLiteral("KORVEL2000 deki seciminiz dogru gozukmuyor");

// A drive with one station and a folder of sibling-program files.
struct Drive : TransferDrive {
    fs::path suvak = root / "suvak";

    Drive() {
        fs::create_directories(suvak);
        saveStationNumber();
        open();

        HqFileImage hq;
        hq.period(1, "01.10.2003", "30.09.2004");
        hq.entry(1, '1', "12.5");
        writeBytes(suvak / "e01.dat", hq.bytes());
        StaffMonthFile month;
        month.readings[1] = {"1250", "1190"};
        for (int d = 1; d <= 30; ++d)
            month.means[d] = "1220";
        writeBytes(suvak / "o0401001.11o", month.bytes());
        writeBytes(suvak / "O0401001.12O", Bytes(700, 0));
        writeBytes(suvak / "K01001.DAT",
                   bytesOf(measurementLine({{5, "01112003"}, {13, "Ali Veli"}, {63, " 1.25"}})));
        writeBytes(suvak / "notlar.txt", bytesOf("x"));
    }
};

} // namespace

class SuvakTransferScreenTest : public QObject {
    Q_OBJECT

private slots:
    void loadsTreesAndListsByControlName() {
        Drive drive;
        SuvakTransferScreen screen(drive.context, drive.hub);
        QCOMPARE(screen.objectName(), QString("Transfer1frm"));
        QCOMPARE(screen.windowTitle(), QString::fromUtf8("Suvak programından korvel2000 e veri transferi"));
        QCOMPARE(child<QPushButton>(screen, "Command1")->text(),
                 QString::fromUtf8("Bütün suvak datalarını korvel2000 gönder"));
        QCOMPARE(child<FolderChainList>(screen, "Dir1")->path(), drive.suvak);
        QCOMPARE(child<FolderChainList>(screen, "Dir2")->path(), drive.station);
        child<DriveList>(screen, "Drive1");

        QCOMPARE(child<FileList>(screen, "File1")->fileNames(), QStringList{"e01.dat"});
        QCOMPARE(child<FileList>(screen, "File2")->fileNames(),
                 (QStringList{"o0401001.11o", "O0401001.12O"}));
        QCOMPARE(child<FileList>(screen, "File4")->fileNames(), QStringList{"K01001.DAT"});
        QCOMPARE(child<FileList>(screen, "File3")->fileNames(), QStringList{"genel.tan"});
        QCOMPARE(child<FileList>(screen, "File2")->toolTip(),
                 QString::fromUtf8("Data tranferi için tek klik"));
    }

    void oneClickConvertsOneFile() {
        Drive drive;
        SuvakTransferScreen screen(drive.context, drive.hub);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));

        clickFile(child<FileList>(screen, "File2"), "o0401001.11o");
        QVERIFY(drive.dialogs.calls().isEmpty());
        const auto days = readWaterYearFile(drive.station / "2004_01-001.ard");
        const auto n = findDay(days, OleDate::fromDate(2003, 11, 1));
        QVERIFY(n.has_value());
        QCOMPARE(days[*n - 1].maxLevel, std::int16_t(1250));
        QCOMPARE(days[*n - 1].source, std::string("R 2 SUVAK   "));
        QVERIFY(child<FileList>(screen, "File3")->fileNames().contains("2004_01-001.ard"));

        clickFile(child<FileList>(screen, "File1"), "e01.dat");
        const Bytes table = fileBytes(drive.station / "01_01-001.HQ");
        QCOMPARE(table.size(), std::size_t(5758));
        QCOMPARE(slice(table, 0, 4), (Bytes{0x00, 0x00, 0x48, 0x41})); // 12.5 as a 32-bit float
        clickFile(child<FileList>(screen, "File4"), "K01001.DAT");
        QVERIFY(fs::exists(drive.station / "01-001.olc"));
        QVERIFY(drive.dialogs.calls().isEmpty());

        // A file not of the form: skipped, named in the result list with its reason.
        clickFile(child<FileList>(screen, "File2"), "O0401001.12O");
        QCOMPARE(drive.dialogs.messages(),
                 QStringList{QString::fromUtf8("O0401001.12O: metin dosyası değil")});
        auto* results = child<QListWidget>(screen, "resultList");
        QCOMPARE(results->count(), 1);
        QVERIFY(results->isVisible());
    }

    void sendAllEndsWithDoneAndTheResultList() {
        Drive drive;
        SuvakTransferScreen screen(drive.context, drive.hub);
        screen.show();
        QTest::mouseClick(child<QPushButton>(screen, "Command1"), Qt::LeftButton);

        QCOMPARE(drive.dialogs.messages(),
                 (QStringList{QString::fromUtf8("İşlem tamam"),
                              QString::fromUtf8("O0401001.12O: metin dosyası değil")}));
        QCOMPARE(screen.lastReport().convertedFiles(), std::size_t(3));
        QVERIFY(fs::exists(drive.station / "01_01-001.HQ"));
        QVERIFY(fs::exists(drive.station / "2004_01-001.ard"));
        QVERIFY(fs::exists(drive.station / "01-001.olc"));
        QCOMPARE(child<FileList>(screen, "File3")->fileNames(),
                 (QStringList{"01-001.olc", "01_01-001.HQ", "2004_01-001.ard", "genel.tan"}));
    }

    void sendAllWithoutHqFilesStillEndsWithDone() {
        Drive drive;
        fs::remove(drive.suvak / "e01.dat");
        fs::remove(drive.suvak / "O0401001.12O");
        SuvakTransferScreen screen(drive.context, drive.hub);
        screen.transferAll();
        QCOMPARE(drive.dialogs.messages(), QStringList{QString::fromUtf8("İşlem tamam")});
        QVERIFY(fs::exists(drive.station / "2004_01-001.ard"));
        QVERIFY(fs::exists(drive.station / "01-001.olc"));
        QVERIFY(!child<QListWidget>(screen, "resultList")->isVisibleTo(&screen));
    }

    void destinationMustBeAStationDirectory() {
        Drive drive;
        SuvakTransferScreen screen(drive.context, drive.hub);
        const fs::path region = drive.root / "korvel2000" / "Ankara";
        screen.setDestinationDirectory(region);
        QCOMPARE(drive.hub.current().stationDir, region); // the destination becomes the current station

        child<FileList>(screen, "File2")->clickRow(0);
        QCOMPARE(drive.dialogs.messages(), QStringList{kRefusal});
        screen.transferAll();
        QCOMPARE(drive.dialogs.messages(), (QStringList{kRefusal, kRefusal}));
        QVERIFY(!fs::exists(region / "2004_.ard"));
        QCOMPARE(listFiles(region, "*").size(), std::size_t(0));
        QCOMPARE(listFiles(drive.station, "*"), std::vector<std::string>{"genel.tan"});

        // The drive root stands for the data root.
        screen.setDestinationDirectory(drive.root.path());
        QCOMPARE(screen.destinationDirectory(), drive.root / "korvel2000");
    }
};

QTEST_MAIN(SuvakTransferScreenTest)
#include "SuvakTransferScreenTest.moc"
