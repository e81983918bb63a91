#include "ui/transfer/ArchiveScreen.h"

#include "TransferDrive.h"

#include <QPushButton>
#include <QTest>
#include <zip.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

struct Drive : TransferDrive {
    fs::path other = root / "korvel2000" / "Ankara" / "01" / "01-002";
    fs::path exchange = root / "disket";

    Drive() {
        fs::create_directories(other);
        fs::create_directories(exchange);
        Bytes year(46848);
        for (std::size_t i = 0; i < year.size(); ++i)
            year[i] = static_cast<std::uint8_t>(i * 7);
        writeBytes(station / "2004_01-001.ard", year);
        writeBytes(station / "01_01-001.HQ", Bytes(5758, 0x31));
        open();
    }
};

int rowOf(FileList* list, const QString& name) {
    return static_cast<int>(list->fileNames().indexOf(name));
}

} // namespace

class ArchiveScreenTest : public QObject {
    Q_OBJECT

private slots:
    void packAndUnpackIntoAnotherStation() {
        Drive drive;
        ArchiveScreen screen(drive.context, drive.hub);
        QCOMPARE(screen.windowTitle(),
                 QString::fromUtf8("Korvel2000 datalarını sıkıştırma / açma & arşivleme..."));
        QCOMPARE(child<FolderChainList>(screen, "stationDirTree")->path(), drive.station);
        // The station side shows the drive root as "c:\" and goes no higher.
        auto* tree = child<FolderChainList>(screen, "stationDirTree");
        QCOMPARE(tree->item(0)->text(), QString("c:\\"));
        screen.setStationDirectory(drive.root.path().root_path());
        QCOMPARE(tree->path(), drive.context.paths.dataRoot());
        screen.setStationDirectory(drive.station);

        screen.setExchangeDirectory(drive.exchange);
        auto* stationFiles = child<FileList>(screen, "stationFileList");
        stationFiles->clickRow(rowOf(stationFiles, "2004_01-001.ard"));
        QCOMPARE(child<FileList>(screen, "exchangeFileList")->fileNames(),
                 QStringList{"2004_01-001.ard.zip"});

        QTest::mouseClick(child<QPushButton>(screen, "packAllButton"), Qt::LeftButton);
        QCOMPARE(child<FileList>(screen, "exchangeFileList")->fileNames(),
                 (QStringList{"01_01-001.HQ.zip", "2004_01-001.ard.zip"}));
        QVERIFY(drive.dialogs.calls().isEmpty());

        screen.setStationDirectory(drive.other);
        QTest::mouseClick(child<QPushButton>(screen, "unpackAllButton"), Qt::LeftButton);
        QVERIFY(drive.dialogs.calls().isEmpty());
        QCOMPARE(fileBytes(drive.other / "2004_01-001.ard"), fileBytes(drive.station / "2004_01-001.ard"));
        QCOMPARE(fileBytes(drive.other / "01_01-001.HQ"), fileBytes(drive.station / "01_01-001.HQ"));
        QCOMPARE(stationFiles->fileNames(), (QStringList{"01_01-001.HQ", "2004_01-001.ard"}));
    }

    void packingIntoTheWorkAreaIsRefused() {
        Drive drive;
        ArchiveScreen screen(drive.context, drive.hub);
        screen.setExchangeDirectory(drive.other);
        child<FileList>(screen, "stationFileList")->clickRow(0);
        screen.packAll();
        const QString refusal = QString::fromUtf8("Çalışma alanına sıkıştırma yapılamaz");
        QCOMPARE(drive.dialogs.messages(), (QStringList{refusal, refusal}));
        QVERIFY(fs::is_empty(drive.other));
    }

    void atADriveRootTheArchivesGoIntoKorvelzip() {
        Drive drive;
        ArchiveScreen screen(drive.context, drive.hub);
        screen.setExchangeDirectory(drive.root.path());
        screen.packFile("01_01-001.HQ");
        QCOMPARE(screen.exchangeDirectory(), drive.root / "korvelzip");
        QVERIFY(fs::exists(drive.root / "korvelzip" / "01_01-001.HQ.zip"));
        QCOMPARE(child<FileList>(screen, "exchangeFileList")->fileNames(), QStringList{"01_01-001.HQ.zip"});
    }

    void extractingOutsideAStationIsRefused() {
        Drive drive;
        ArchiveScreen screen(drive.context, drive.hub);
        screen.setExchangeDirectory(drive.exchange);
        screen.packAll();
        const fs::path region = drive.root / "korvel2000" / "Ankara";
        screen.setStationDirectory(region);
        child<FileList>(screen, "exchangeFileList")->clickRow(0);
        screen.unpackAll();
        const QString refusal = QStringLiteral("KORVEL2000 deki seciminiz dogru gozukmuyor");
        QCOMPARE(drive.dialogs.messages(), (QStringList{refusal, refusal}));
        QCOMPARE(listFiles(region, "*").size(), std::size_t(0));

        // The drive root stands for the data root on the station side.
        screen.setStationDirectory(drive.root.path());
        QCOMPARE(screen.stationDirectory(), drive.root / "korvel2000");
    }

    void zipSlipArchivesAreRefusedAndReported() {
        Drive drive;
        int code = 0;
        zip_t* zip = zip_open((drive.exchange / "x.ard.zip").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        QVERIFY(zip != nullptr);
        static const char data[] = "evil";
        zip_file_add(zip, "../../x.ard", zip_source_buffer(zip, data, 4, 0), ZIP_FL_ENC_RAW);
        QCOMPARE(zip_close(zip), 0);

        ArchiveScreen screen(drive.context, drive.hub);
        screen.setExchangeDirectory(drive.exchange);
        screen.setStationDirectory(drive.other);
        screen.unpackArchive("x.ard.zip");
        QCOMPARE(drive.dialogs.messages(),
                 QStringList{
                     QString::fromUtf8("x.ard.zip: arşivdeki dosya adı bir yol içeriyor: \"../../x.ard\"")});
        QVERIFY(fs::is_empty(drive.other));
        QVERIFY(!fs::exists(drive.root / "korvel2000" / "Ankara" / "x.ard"));
        QCOMPARE(child<QListWidget>(screen, "resultList")->count(), 1);
    }
};

QTEST_MAIN(ArchiveScreenTest)
#include "ArchiveScreenTest.moc"
