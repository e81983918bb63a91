#include "ui/transfer/Korvel96TransferScreen.h"

#include "TransferDrive.h"
#include "common/ReceivedReadingsFiles.h"
#include "store/WaterYearFile.h"

#include <QLabel>
#include <QTest>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

const QString kRefusal = QStringLiteral("KORVEL2000 deki seciminiz dogru gozukmuyor");

// A drive with station 01-001 (its number "01-001  " as stored) and one download of the
// older program in that station's side-file directory.
struct Drive : TransferDrive {
    fs::path stations = root / "korvel96" / "istasyon";
    fs::path downloads = stations / "01-001";

    Drive() {
        saveStationNumber();
        ReceivedDownload::write(downloads);
        open();
    }

    std::vector<std::string> stationFiles() const { return listFiles(station, "*"); }
};

const QString kReadings = QString::fromLatin1(ReceivedDownload::kReadingsName);

} // namespace

class Korvel96TransferScreenTest : public QObject {
    Q_OBJECT

private slots:
    void loadsTreesAndListsByControlName() {
        Drive drive;
        Korvel96TransferScreen screen(drive.context, drive.hub);
        QCOMPARE(screen.objectName(), QString("Transfer2frm"));
        QCOMPARE(screen.windowTitle(),
                 QString::fromUtf8("Korvel96  programından korvel2000 e veri transferi"));
        QCOMPARE(child<QLabel>(screen, "Label5")->text(), QString::fromUtf8("Sağım dosyaları"));
        QCOMPARE(child<QLabel>(screen, "Label4")->text(),
                 QString::fromUtf8("KORVEL2000         Su yıllığı dosyaları"));
        QCOMPARE(child<FileList>(screen, "File1")->toolTip(),
                 QString::fromUtf8("Data tranferi için tek klik"));
        QCOMPARE(child<FolderChainList>(screen, "Dir2")->path(), drive.station);

        // "01-001  " names the directory "01-001  ", which is not there: the tree stays on
        // the side-file root and the user picks the station's directory by hand.
        QCOMPARE(child<FolderChainList>(screen, "Dir1")->path(), drive.stations);
        screen.setSourceDirectory(drive.downloads);
        QCOMPARE(child<FileList>(screen, "File1")->fileNames(), QStringList{kReadings});
        QCOMPARE(child<FileList>(screen, "File2")->fileNames(), QStringList{});

        // A number that fills all 8 characters opens its directory.
        StationRecord full;
        full.stationNumber = "01-00001";
        saveStationRecordFile(drive.station, full);
        drive.hub.setStationDirectory(drive.station);
        ReceivedDownload::write(drive.stations / "01-00001");
        Korvel96TransferScreen second(drive.context, drive.hub);
        QCOMPARE(second.sourceDirectory(), drive.stations / "01-00001");

        // The drive root in either tree stands for that program's root.
        second.setSourceDirectory(drive.root.path());
        QCOMPARE(second.sourceDirectory(), drive.root / "korvel96");
        second.setDestinationDirectory(drive.root.path());
        QCOMPARE(second.destinationDirectory(), drive.root / "korvel2000");
    }

    void oneClickConfirmsTheNumberAndConvertsTheDownload() {
        Drive drive;
        drive.dialogs.queueInput(QStringLiteral("01-001"));
        Korvel96TransferScreen screen(drive.context, drive.hub);
        screen.setSourceDirectory(drive.downloads);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));

        clickFile(child<FileList>(screen, "File1"), kReadings);
        QCOMPARE(drive.dialogs.calls().size(), 1);
        const ScriptedDialogs::Call prompt = drive.dialogs.calls().front();
        QVERIFY(prompt.kind == ScriptedDialogs::Kind::Input);
        QCOMPARE(prompt.title, QString::fromUtf8("Limnigraftaki istasyon numarası  01-001  "));
        QCOMPARE(prompt.defaultAnswer, QStringLiteral("01-001  "));

        const auto days = readWaterYearFile(drive.station / "2005_01-001.ard");
        QCOMPARE(days.size(), std::size_t(366));
        QCOMPARE(days[0].meanValue, 1005.0f);
        QCOMPARE(days[0].maxLevel, std::int16_t(1010));
        QCOMPARE(days[1].meanValue, 1200.0f);
        QCOMPARE(child<FileList>(screen, "File2")->fileNames(), QStringList{"2005_01-001.ard"});
        QCOMPARE(drive.stationFiles(),
                 (std::vector<std::string>{"2005_01-001.ard", "ABC1-10 .-5", "genel.tan"}));
        QVERIFY(screen.lastReport().empty());
        QVERIFY(!child<QListWidget>(screen, "resultList")->isVisible());
    }

    void aCancelledNumberWritesNothing() {
        Drive drive;
        drive.dialogs.queueCancel();
        Korvel96TransferScreen screen(drive.context, drive.hub);
        screen.setSourceDirectory(drive.downloads);
        child<FileList>(screen, "File1")->clickRow(0);
        QCOMPARE(drive.dialogs.calls().size(), 1);
        QCOMPARE(drive.stationFiles(), std::vector<std::string>{"genel.tan"});
    }

    void aMissingCompanionIsReportedInTheResultList() {
        Drive drive;
        fs::remove(drive.downloads / ReceivedDownload::kTextsName);
        Korvel96TransferScreen screen(drive.context, drive.hub);
        screen.setSourceDirectory(drive.downloads);
        screen.show();
        child<FileList>(screen, "File1")->clickRow(0);

        const QString line = QString::fromUtf8("ABC1-10 .-5: istasyon bilgi dosyası yok (ABC1-10 .m5)");
        QCOMPARE(drive.dialogs.messages(), QStringList{line});
        QCOMPARE(drive.dialogs.calls().size(), 1); // no number prompt for a download that cannot be read
        auto* results = child<QListWidget>(screen, "resultList");
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->text(), line);
        QVERIFY(results->isVisible());
        QCOMPARE(drive.stationFiles(), std::vector<std::string>{"genel.tan"});
    }

    void aRegionDestinationIsRefused() {
        Drive drive;
        Korvel96TransferScreen screen(drive.context, drive.hub);
        screen.setSourceDirectory(drive.downloads);
        const fs::path region = drive.root / "korvel2000" / "Ankara";
        screen.setDestinationDirectory(region);
        QCOMPARE(drive.hub.current().stationDir, region); // the destination becomes the current station

        child<FileList>(screen, "File1")->clickRow(0);
        QCOMPARE(drive.dialogs.messages(), QStringList{kRefusal});
        QCOMPARE(drive.dialogs.calls().size(), 1);
        QCOMPARE(listFiles(region, "*").size(), std::size_t(0));
        QCOMPARE(drive.stationFiles(), std::vector<std::string>{"genel.tan"});
    }
};

QTEST_MAIN(Korvel96TransferScreenTest)
#include "Korvel96TransferScreenTest.moc"
