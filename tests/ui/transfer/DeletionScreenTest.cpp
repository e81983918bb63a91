#include "ui/transfer/DeletionScreen.h"

#include "TransferDrive.h"

#include <QTest>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

const QString kPrompt = QString::fromUtf8("DİKKAT !!!! SİLME İŞLEMİ DEVAM ETSİNMİ");

struct Drive : TransferDrive {
    Drive() {
        for (const char* name :
             {"2004_01-001.ard", "2003_01-001.ard", "01_01-001.HQ", "ABC5-10 .-4", "ABC5-10 .m4"})
            writeBytes(station / name, Bytes{1, 2});
        open();
    }
};

void click(FileList* list, const QString& name) {
    list->clickRow(static_cast<int>(list->fileNames().indexOf(name)));
}

} // namespace

class DeletionScreenTest : public QObject {
    Q_OBJECT

private slots:
    void captionAndLists() {
        Drive drive;
        DeletionScreen screen(drive.context, drive.hub);
        QCOMPARE(
            screen.windowTitle(),
            QString::fromUtf8("DİKKAT YAPACAĞINIZ İŞLEM \"SİLME İŞLEMİDİR\"  GERİ DÖNÜŞ OLMAYABİLİR......."));
        QCOMPARE(child<FileList>(screen, "waterYearList")->fileNames(),
                 (QStringList{"2003_01-001.ard", "2004_01-001.ard"}));
        QCOMPARE(child<FileList>(screen, "hqList")->fileNames(), QStringList{"01_01-001.HQ"});
        QCOMPARE(child<FileList>(screen, "allFilesList")->count(), 5);
        QCOMPARE(child<FolderChainList>(screen, "dirTree")->path(), drive.station);
    }

    void cancelKeepsTheFileAnAnswerDeletesIt() {
        Drive drive;
        DeletionScreen screen(drive.context, drive.hub);
        auto* years = child<FileList>(screen, "waterYearList");

        drive.dialogs.queueCancel();
        click(years, "2004_01-001.ard");
        QCOMPARE(drive.dialogs.calls().size(), 1);
        QCOMPARE(drive.dialogs.calls()[0].text, kPrompt);
        QCOMPARE(drive.dialogs.calls()[0].defaultAnswer, QString());
        QVERIFY(fs::exists(drive.station / "2004_01-001.ard"));

        drive.dialogs.queueInput(QString());
        click(child<FileList>(screen, "hqList"), "01_01-001.HQ");
        QVERIFY(fs::exists(drive.station / "01_01-001.HQ"));

        drive.dialogs.queueInput("e");
        click(years, "2004_01-001.ard");
        QVERIFY(!fs::exists(drive.station / "2004_01-001.ard"));
        QCOMPARE(years->fileNames(), QStringList{"2003_01-001.ard"});
        QCOMPARE(child<FileList>(screen, "allFilesList")->count(), 4);
    }

    void allFilesListDeletesTheCompanionToo() {
        Drive drive;
        DeletionScreen screen(drive.context, drive.hub);
        auto* all = child<FileList>(screen, "allFilesList");

        drive.dialogs.queueCancel();
        click(all, "ABC5-10 .-4");
        QCOMPARE(drive.dialogs.calls()[0].defaultAnswer, QString("ABC5-10 .-4"));
        QVERIFY(fs::exists(drive.station / "ABC5-10 .-4"));

        drive.dialogs.queueInput("ABC5-10 .-4");
        click(all, "ABC5-10 .-4");
        QVERIFY(!fs::exists(drive.station / "ABC5-10 .-4"));
        QVERIFY(!fs::exists(drive.station / "ABC5-10 .m4"));
        QCOMPARE(all->count(), 3);

        // A file without its companion goes alone.
        writeBytes(drive.station / "XYZ1-2  .-7", Bytes{1});
        screen.refreshLists();
        drive.dialogs.queueInput("evet");
        click(all, "XYZ1-2  .-7");
        QVERIFY(!fs::exists(drive.station / "XYZ1-2  .-7"));
        QCOMPARE(all->count(), 3);
    }

    void theTreeStopsAtTheDriveRootShownAsC() {
        Drive drive;
        DeletionScreen screen(drive.context, drive.hub);
        auto* tree = child<FolderChainList>(screen, "dirTree");
        QCOMPARE(tree->item(0)->text(), QString("c:\\"));
        QCOMPARE(tree->item(1)->text().trimmed(), QString("korvel2000"));

        // Nothing above the drive root can be chosen: the tree stays at the drive root.
        screen.setDirectory(drive.root.path().parent_path());
        QCOMPARE(tree->path(), drive.root.path());
        screen.setDirectory(drive.station / ".." / ".." / ".." / ".." / "..");
        QCOMPARE(tree->path(), drive.root.path());
        QCOMPARE(child<FileList>(screen, "allFilesList")->directory(), drive.root.path());
        tree->setCurrentRow(0);
        emit tree->itemActivated(tree->item(0));
        QCOMPARE(tree->path(), drive.root.path());
    }
};

QTEST_MAIN(DeletionScreenTest)
#include "DeletionScreenTest.moc"
