#include "ui/station/StationScreen.h"

#include "../app/AppTestDrive.h"
#include "core/FileIO.h"
#include "platform/ScriptedDialogs.h"
#include "store/StationMap.h"
#include "store/StationSave.h"
#include "ui/station/DirectoryList.h"
#include "ui/station/StationMapView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

using namespace korvel;
namespace fs = std::filesystem;
namespace c = korvel::stationControls;

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

} // namespace

class StationScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dialogs_ = std::make_unique<ScriptedDialogs>();
        scope_ = std::make_unique<DialogProviderScope>(*dialogs_);
        drive_ = std::make_unique<test::TestDrive>(true);
        drive_->keepRecentYearsOnly();
        drive_->settings().setLastStationPath("c:\\korvel2000\\Ankara\\01\\01-001");
    }
    void cleanup() {
        screen_.reset();
        drive_.reset();
        scope_.reset();
        dialogs_.reset();
    }

    // ---- load and directory change

    void loadShowsTheStoredStationAndSelectsItsNewestWaterYear() {
        load();
        QCOMPARE(screen_->windowTitle(), text("KORVEL2000  HİDROMETRİ PROGRAMI"));
        QCOMPARE(box(c::kStationNumber), text("01-001"));
        QCOMPARE(box(c::kRiverName), text("Değirmen Çayı"));
        QCOMPARE(box(c::kStationName), text("Yenice Köprüsü"));
        QCOMPARE(box(c::kBasinName), text("Kızılırmak"));
        QCOMPARE(combo(c::kRegion)->currentText(), text("Ankara "));
        QCOMPARE(box(c::kOpeningDate), text("12.05.1998"));
        QCOMPARE(box(c::kElevation), text("845,5"));
        QCOMPARE(box(c::kDrainageArea), text("126,4"));
        QCOMPARE(box(c::kThiessenArea), text("0,35"));
        QCOMPARE(box(c::kCoordinates), text("39.41.00K33.37.00D"));
        QCOMPARE(box(c::kModemHqFile), text("02_01-001.HQ"));
        QVERIFY(
            screen_->findChild<QPlainTextEdit*>(c::kNote)->toPlainText().startsWith(text("Köprü ayağında")));

        QCOMPARE(itemTexts(list(c::kFlowFiles)), QStringList({"2003_01-001.ard", "2004_01-001.ard"}));
        QCOMPARE(itemTexts(list(c::kHqFiles)), QStringList({"01_01-001.HQ", "02_01-001.HQ"}));
        QCOMPARE(itemTexts(list(c::kRainFiles)), QStringList({"2003_01-001  .yrd", "2004_01-001  .yrd"}));
        QCOMPARE(list(c::kFlowFiles)->currentRow(), 1);
        QCOMPARE(current().selectedFlowFile, std::string("2004_01-001.ard"));
        QCOMPARE(itemTexts(list(c::kFlowSelection)),
                 QStringList{text("c:\\korvel2000\\Ankara\\01\\01-001\\2004_01-001.ard")});
        QCOMPARE(current().flowSelection.front(), drive_->station("01-001") / "2004_01-001.ard");
        QVERIFY(current().rainSelection.empty());
        QCOMPARE(list(c::kRainSelection)->count(), 0);
    }

    void dropDownsHoldTheRegionsAndTheWaterYearMonths() {
        load();
        QComboBox* months = combo(c::kMonth);
        QCOMPARE(months->count(), 12);
        QCOMPARE(months->currentText(), text("10.ay  Ekim"));
        QCOMPARE(months->itemText(11), text("09.ay  Eylül"));
        months->setCurrentIndex(3);
        QCOMPARE(current().month(), 1);
        QComboBox* regions = combo(c::kRegion);
        QCOMPARE(regions->count(), 11);
        QCOMPARE(regions->itemText(0), text("Atatürk "));
        QCOMPARE(regions->itemText(7), text("ŞanlıUrfa "));
    }

    void directoryWithoutRecordShowsEmptyBoxesAndNoFiles() {
        load();
        screen_->setStationDirectory(drive_->dataRoot() / "Ankara");
        QCOMPARE(box(c::kStationNumber), QString());
        QCOMPARE(box(c::kElevation), QString());
        QCOMPARE(box(c::kDrainageArea), QString());
        QCOMPARE(list(c::kFlowFiles)->count(), 0);
        QVERIFY(current().selectedFlowFile.empty());
        QCOMPARE(drive_->settings().lastStationPath(), text("c:\\korvel2000\\Ankara"));
    }

    void missingDirectoryLeavesTheListsEmpty() {
        drive_->settings().setLastStationPath("c:\\korvel2000\\Konya\\07\\07-007");
        load();
        QCOMPARE(current().stationDir, drive_->dataRoot() / "Konya" / "07" / "07-007");
        QCOMPARE(box(c::kStationNumber), QString());
        QCOMPARE(list(c::kFlowFiles)->count(), 0);
        QCOMPARE(list(c::kHqFiles)->count(), 0);
        QCOMPARE(list(c::kRainFiles)->count(), 0);
    }

    void corruptRecordFileDoesNotStopTheScreen() {
        const fs::path dir = drive_->station("01-002");
        writeFileAtomic(dir / "genel.tan", std::string("\"01-00\xff\r\n,,,\x01\x02 \"\"\n1e999\n-\n", 22));
        load();
        screen_->setStationDirectory(dir);
        QCOMPARE(current().stationDir, dir);
        QCOMPARE(list(c::kFlowFiles)->count(), 2);
    }

    void drivePathsAndMapPointsInWindowsFormResolveHere() {
        drive_->settings().setLastStationPath("C:\\KORVEL2000\\ankara\\01\\01-002");
        load();
        QCOMPARE(current().stationDir, drive_->station("01-002"));
        QCOMPARE(box(c::kStationNumber), text("01-002"));
    }

    void choosingTheDriveRootJumpsToTheDataRoot() {
        load();
        auto* tree = screen_->findChild<DirectoryList*>(c::kDirectoryTree);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), text("c:\\"));
        emit tree->itemActivated(root, 0);
        QCOMPARE(current().stationDir, drive_->dataRoot());
        QCOMPARE(drive_->settings().lastStationPath(), text("c:\\korvel2000"));

        screen_->setStationDirectory(drive_->drive());
        QCOMPARE(current().stationDir, drive_->dataRoot());
    }

    void directoryTreeShowsTheWayDownAndTheSubdirectories() {
        load();
        auto* tree = screen_->findChild<DirectoryList*>(c::kDirectoryTree);
        screen_->setStationDirectory(drive_->dataRoot() / "Ankara" / "01");
        QTreeWidgetItem* current = tree->currentItem();
        QCOMPARE(current->text(0), text("01"));
        QCOMPARE(current->childCount(), 3);
        QCOMPARE(current->child(1)->text(0), text("01-002"));
        emit tree->itemActivated(current->child(1), 0);
        QCOMPARE(this->current().stationDir, drive_->station("01-002"));
    }

    void regionChoiceGoesToTheRegionDirectory() {
        load();
        QComboBox* regions = combo(c::kRegion);
        const int konya = regions->findText(text("Konya "));
        regions->setCurrentIndex(konya);
        emit regions->activated(konya);
        QCOMPARE(current().stationDir, drive_->dataRoot() / "Konya");
        QCOMPARE(regions->currentIndex(), konya);
        const int ankara = regions->findText(text("Ankara "));
        emit regions->activated(ankara);
        QCOMPARE(current().stationDir, drive_->dataRoot() / "Ankara");
        QCOMPARE(regions->currentText(), text("Ankara "));
    }

    // ---- selection lists

    void secondFlowFileIsIgnoredAndDoubleClickEmptiesTheList() {
        load();
        QSignalSpy tables(screen_.get(), &StationScreen::tableCommandsEnabled);
        click(list(c::kFlowFiles), 0);
        QCOMPARE(current().selectedFlowFile, std::string("2003_01-001.ard"));
        QCOMPARE(current().flowSelection.size(), std::size_t(1));
        QCOMPARE(current().flowSelection.front().filename(), fs::path("2004_01-001.ard"));

        doubleClick(list(c::kFlowSelection), 0);
        QVERIFY(current().flowSelection.empty());
        QCOMPARE(list(c::kFlowSelection)->count(), 0);
        QCOMPARE(tables.last().at(0).toBool(), false);

        click(list(c::kFlowFiles), 1);
        QCOMPARE(current().flowSelection.front().filename(), fs::path("2004_01-001.ard"));
    }

    void fourthRainfallFileStartsTheListAgain() {
        load();
        click(list(c::kRainFiles), 0);
        click(list(c::kRainFiles), 1);
        screen_->setStationDirectory(drive_->station("01-003"));
        click(list(c::kRainFiles), 0);
        QCOMPARE(current().rainSelection.size(), std::size_t(3));
        QCOMPARE(current().rainSelectionCurrent, 2);
        QCOMPARE(itemTexts(list(c::kRainSelection)),
                 QStringList({text("c:\\korvel2000\\Ankara\\01\\01-001\\2003_01-001  .yrd"),
                              text("c:\\korvel2000\\Ankara\\01\\01-001\\2004_01-001  .yrd"),
                              text("c:\\korvel2000\\Ankara\\01\\01-003\\2003_01-003  .yrd")}));
        click(list(c::kRainFiles), 1);
        QCOMPARE(itemTexts(list(c::kRainSelection)),
                 QStringList{text("c:\\korvel2000\\Ankara\\01\\01-003\\2004_01-003  .yrd")});
        QCOMPARE(current().rainSelectionCurrent, 0);
    }

    void tableCommandsFollowTheCompleteSelection() {
        load();
        QSignalSpy tables(screen_.get(), &StationScreen::tableCommandsEnabled);
        click(list(c::kRainFiles), 0);
        click(list(c::kRainFiles), 1);
        QCOMPARE(tables.last().at(0).toBool(), false);
        screen_->setStationDirectory(drive_->station("01-002"));
        click(list(c::kRainFiles), 0);
        QCOMPARE(tables.last().at(0).toBool(), true);
        QVERIFY(current().selectionComplete());
        // The flow selection stays with the first station's file.
        QCOMPARE(current().flowSelection.front(), drive_->station("01-001") / "2004_01-001.ard");

        doubleClick(list(c::kRainSelection), 0);
        QCOMPARE(tables.last().at(0).toBool(), false);
        QVERIFY(current().rainSelection.empty());
    }

    void rainSelectionCurrentEntryCanBeMoved() {
        load();
        click(list(c::kRainFiles), 0);
        click(list(c::kRainFiles), 1);
        screen_->setRainSelectionCurrent(0);
        QCOMPARE(current().rainSelectionCurrent, 0);
        QCOMPARE(list(c::kRainSelection)->currentRow(), 0);
        screen_->setRainSelectionCurrent(5);
        QCOMPARE(current().rainSelectionCurrent, 0);
    }

    void doubleClicksOnTheFileListsOpenTheirScreens() {
        load();
        QSignalSpy flow(screen_.get(), &StationScreen::flowFileOpened);
        QSignalSpy hq(screen_.get(), &StationScreen::hqFileOpened);
        QSignalSpy rain(screen_.get(), &StationScreen::rainFileOpened);
        doubleClick(list(c::kFlowFiles), 0);
        doubleClick(list(c::kHqFiles), 1);
        doubleClick(list(c::kRainFiles), 0);
        QCOMPARE(flow.count(), 1);
        QCOMPARE(hq.count(), 1);
        QCOMPARE(rain.count(), 1);
        QCOMPARE(current().selectedHqFile, std::string("02_01-001.HQ"));
    }

    void refreshKeepsTheSelectedFiles() {
        load();
        click(list(c::kHqFiles), 0);
        writeFileAtomic(drive_->station("01-001") / "2001_01-001.ard", std::string("x"));
        screen_->refreshFileLists();
        QCOMPARE(list(c::kFlowFiles)->count(), 3);
        QCOMPARE(current().selectedFlowFile, std::string("2004_01-001.ard"));
        QCOMPARE(list(c::kFlowFiles)->currentItem()->text(), text("2004_01-001.ard"));
        QCOMPARE(current().selectedHqFile, std::string("01_01-001.HQ"));
    }

    void modemHqBoxTakesTheSelectedHqFile() {
        load();
        QLineEdit* modem = lineEdit(c::kModemHqFile);
        QTest::mouseDClick(modem, Qt::LeftButton);
        QCOMPARE(modem->text(), text("02_01-001.HQ"));
        click(list(c::kHqFiles), 0);
        QTest::mouseDClick(modem, Qt::LeftButton);
        QCOMPARE(modem->text(), text("c:\\korvel2000\\Ankara\\01\\01-001\\01_01-001.HQ"));
    }

    // ---- boxes

    void typedCommaIsEnteredAsAPeriod() {
        load();
        for (const QString& name : {c::kStationNumber, c::kElevation, c::kDrainageArea, c::kThiessenArea,
                                    c::kCoordinates, c::kRiverName}) {
            QLineEdit* box = lineEdit(name);
            box->clear();
            QTest::keyClicks(box, "12,5");
            QCOMPARE(box->text(), QString("12.5"));
        }
        auto* note = screen_->findChild<QPlainTextEdit*>(c::kNote);
        note->clear();
        QTest::keyClicks(note, "a,b");
        QCOMPARE(note->toPlainText(), QString("a.b"));
    }

    void phoneBoxesTakeDigitsOnly() {
        load();
        for (const QString& name : {c::kPhoneNumber, c::kDialPrefix}) {
            QLineEdit* box = lineEdit(name);
            box->clear();
            QTest::keyClicks(box, "0-3a1 2");
            QCOMPARE(box->text(), QString("0312"));
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString("0312"));
        }
    }

    // ---- password

    void stationWithPasswordMasksItsPhoneNumber() {
        StationEntry entry = demoEntry("01-004");
        entry.phoneNumber = "3125550101";
        QVERIFY(saveStation(drive_->context().paths, entry, std::string("gizli"), StationRecord{}).saved);
        load();
        QVERIFY(!screen_->phoneNumberMasked());
        screen_->setStationDirectory(drive_->station("01-004"));
        QLineEdit* phone = lineEdit(c::kPhoneNumber);
        auto* button = screen_->findChild<QPushButton*>(c::kPassword);
        QVERIFY(screen_->phoneNumberMasked());
        QCOMPARE(phone->displayText(), QString(10, QLatin1Char('*')));
        QVERIFY(button->isVisibleTo(screen_.get()));
        QCOMPARE(button->text(), text("Şifre"));

        dialogs_->queueInput("yanlis");
        button->click();
        QVERIFY(screen_->phoneNumberMasked());
        QCOMPARE(dialogs_->calls().last().text, text("Lütfen şifrenizi giriniz"));

        dialogs_->queueInput(" gizli ");
        button->click();
        QVERIFY(!screen_->phoneNumberMasked());
        QCOMPARE(phone->displayText(), QString("3125550101"));
        QVERIFY(!button->isVisibleTo(screen_.get()));

        screen_->setStationDirectory(drive_->station("01-001"));
        QVERIFY(!screen_->phoneNumberMasked());
    }

    // ---- map

    void clickOnAStationPointSelectsIt() {
        load();
        const std::vector<MapPoint> points = readMapPoints(drive_->dataRoot() / "genel.har");
        QCOMPARE(points.size(), std::size_t(3));
        const MapPoint& second = points[1];
        QCOMPARE(second.stationDir, std::string("c:\\korvel2000\\Ankara\\01\\01-002"));
        StationMapView* map = screen_->map();
        QCOMPARE(map->size(), QSize(650, 291));

        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(second.x + 1, second.y - 1));
        QCOMPARE(current().stationDir, drive_->station("01-002"));
        QCOMPARE(box(c::kStationNumber), text("01-002"));
        QCOMPARE(drive_->settings().lastStationPath(), text("c:\\korvel2000\\Ankara\\01\\01-002"));

        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(current().stationDir, drive_->station("01-002"));
    }

    void mouseOverTheMapShowsThePosition() {
        load();
        QTest::mouseMove(screen_->map(), QPoint(262, 118));
        QTRY_COMPARE(label(c::kLongitudeLabel), text("Boylam : 33 der.37dak."));
        QCOMPARE(label(c::kLatitudeLabel), text("Enlem : 39 der.41"));
        QCOMPARE(longitudeLabelText(1, 1), text("Boylam : 25 der.25dak."));
    }

    void markingDrawsEveryStationAndHidesTheButton() {
        load();
        screen_->show();
        auto* button = screen_->findChild<QPushButton*>(c::kMarkStations);
        QCOMPARE(button->text(), text("İstasyonları işaretle"));
        QVERIFY(button->isVisible());
        const QColor red(255, 0, 0);
        const std::vector<MapPoint> points = readMapPoints(drive_->dataRoot() / "genel.har");
        QVERIFY(screen_->map()->picture().pixelColor(points[0].x, points[0].y) != red);
        button->click();
        for (const MapPoint& point : points)
            QCOMPARE(screen_->map()->picture().pixelColor(point.x, point.y), red);
        QVERIFY(!button->isVisible());
        screen_->screenActivated();
        QVERIFY(button->isVisible());
    }

    // ---- save and new station

    void saveRoundTrip() {
        load();
        screen_->newStationRecord();
        setBox(c::kStationNumber, "02-010");
        combo(c::kRegion)->setEditText(text("Konya "));
        setBox(c::kRiverName, "Çarşamba Çayı");
        setBox(c::kStationName, "Bozkır");
        setBox(c::kOpeningDate, "01.06.2001");
        setBox(c::kElevation, "12.5");
        setBox(c::kDrainageArea, "45,25");
        setBox(c::kThiessenArea, "0.3");
        const MapCodes codes = mapCodes(300, 200);
        const QString coordinates =
            QString::asprintf("%02d.%02d.00K%02d.%02d.00D", codes.latitudeDegrees, codes.latitudeMinutes,
                              codes.longitudeDegrees, codes.longitudeMinutes);
        setBox(c::kCoordinates, coordinates);
        setBox(c::kPhoneNumber, "3325550000");
        setBox(c::kDialPrefix, "9");
        setBox(c::kBasinName, "Konya");
        dialogs_->queueInput("sifre12345678XYZ");
        screen_->saveStationRecord();

        QVERIFY2(dialogs_->messages().isEmpty(), qPrintable(dialogs_->messages().join("|")));
        QCOMPARE(dialogs_->calls().at(0).text, text("Şifre kullanmayı düşünüyorsanız şimdi girin"));
        const fs::path dir = drive_->dataRoot() / "Konya" / "02" / "02-010";
        const StationRecord saved = loadStationRecord(dir, "");
        QCOMPARE(saved.elevation, 12.5f);
        QCOMPARE(saved.drainageArea, 45.25f);
        QCOMPARE(saved.password, std::string("sifre1234567"));
        QCOMPARE(QString::fromStdString(saved.riverName).trimmed(), text("Çarşamba Çayı"));

        QCOMPARE(current().stationDir, dir);
        QCOMPARE(box(c::kElevation), text("12,5"));
        QCOMPARE(box(c::kDrainageArea), text("45,25"));
        QCOMPARE(box(c::kStationNumber), text("02-010"));
        QCOMPARE(combo(c::kRegion)->currentText(), text("Konya "));
        QVERIFY(screen_->phoneNumberMasked());

        const std::vector<MapPoint> points = readMapPoints(drive_->dataRoot() / "genel.har");
        QCOMPARE(points.size(), std::size_t(4));
        QCOMPARE(points.back().stationDir, std::string("c:\\korvel2000\\Konya\\02\\02-010"));
        QCOMPARE(screen_->map()->picture().pixelColor(points.back().x, points.back().y), QColor(255, 0, 0));
        QCOMPARE(drive_->settings().lastStationPath(), text("c:\\korvel2000\\Konya\\02\\02-010"));
    }

    void aRecordChangedOnDiskSinceItWasReadIsNotWrittenOverWithoutAsking() {
        load();
        const fs::path dir = current().stationDir;
        StationRecord other = loadStationRecord(dir, "");
        other.riverName = "Başka Çay";
        saveStationRecordFile(dir, other);
        const Bytes changed = *readFileBytes(dir / "genel.tan");

        setBox(c::kStationName, "Benim adım");
        dialogs_->queueChoice(AbortRetryIgnore::Abort);
        screen_->saveStationRecord();
        QCOMPARE(dialogs_->calls().size(), 1);
        QVERIFY(
            dialogs_->calls().front().text.startsWith(text("Dosya siz okuduktan sonra değişti: genel.tan")));
        QCOMPARE(*readFileBytes(dir / "genel.tan"), changed);

        // Read again: the boxes show the other change.
        dialogs_->queueChoice(AbortRetryIgnore::Retry);
        screen_->saveStationRecord();
        QCOMPARE(box(c::kRiverName).trimmed(), text("Başka Çay"));
        QCOMPARE(*readFileBytes(dir / "genel.tan"), changed);
    }

    void saveRefusalsWriteNothing() {
        load();
        screen_->newStationRecord();
        screen_->saveStationRecord();
        setBox(c::kStationNumber, "1-01");
        combo(c::kRegion)->setEditText(text("Konya "));
        screen_->saveStationRecord();
        setBox(c::kStationNumber, "02-011");
        setBox(c::kDrainageArea, "0");
        screen_->saveStationRecord();
        QCOMPARE(dialogs_->messages(),
                 QStringList({text("Lutfen istasyon numarası ve bölge adını giriniz"),
                              text("Lutfen istasyon numarası 01-001 gibi beş hane giriniz"),
                              text("Lutfen yagış alanını giriniz")}));
        QVERIFY(!fs::exists(drive_->dataRoot() / "Konya"));
    }

    void pathTooLongForTheMapIsRefusedWithAMessage() {
        load();
        const Bytes before = readFileBytes(drive_->dataRoot() / "genel.har").value();
        screen_->newStationRecord();
        setBox(c::kStationNumber, "21-00001");
        combo(c::kRegion)->setEditText(text("Güneydoğu Anadolu Bölgesi"));
        setBox(c::kDrainageArea, "10");
        setBox(c::kCoordinates, "38.00.00K40.00.00D");
        screen_->saveStationRecord();
        QCOMPARE(dialogs_->messages().size(), 1);
        QVERIFY(dialogs_->messages().front().contains(text("40 karakterden uzun")));
        QVERIFY(
            fs::exists(drive_->dataRoot() / "Güneydoğu Anadolu Bölgesi" / "21" / "21-00001" / "genel.tan"));
        QCOMPARE(readFileBytes(drive_->dataRoot() / "genel.har").value(), before);
    }

    void newStationEmptiesTheBoxesAndTheFlowAndHqLists() {
        load();
        click(list(c::kRainFiles), 0);
        screen_->newStationRecord();
        for (const QString& name : {c::kStationNumber, c::kRiverName, c::kElevation, c::kCoordinates,
                                    c::kModemHqFile, c::kPhoneNumber})
            QCOMPARE(box(name), QString());
        QCOMPARE(combo(c::kRegion)->currentText(), QString());
        QCOMPARE(list(c::kFlowFiles)->count(), 0);
        QCOMPARE(list(c::kHqFiles)->count(), 0);
        QCOMPARE(list(c::kRainFiles)->count(), 2);
        QCOMPARE(current().record, StationRecord{});
        QVERIFY(current().selectedFlowFile.empty());
        QCOMPARE(current().rainSelection.size(), std::size_t(1));
    }

private:
    void load() {
        screen_ = std::make_unique<StationScreen>(drive_->context());
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    }

    const CurrentStation& current() const { return screen_->current(); }
    QLineEdit* lineEdit(const QString& name) const { return screen_->findChild<QLineEdit*>(name); }
    QString box(const QString& name) const { return lineEdit(name)->text(); }
    void setBox(const QString& name, const char* value) { lineEdit(name)->setText(text(value)); }
    void setBox(const QString& name, const QString& value) { lineEdit(name)->setText(value); }
    QComboBox* combo(const QString& name) const { return screen_->findChild<QComboBox*>(name); }
    QListWidget* list(const QString& name) const { return screen_->findChild<QListWidget*>(name); }
    QString label(const QString& name) const { return screen_->findChild<QLabel*>(name)->text(); }

    StationEntry demoEntry(const std::string& number) const {
        StationEntry entry;
        entry.stationNumber = number;
        entry.regionName = "Ankara";
        entry.drainageArea = "12";
        return entry;
    }

    void click(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void doubleClick(QListWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<DialogProviderScope> scope_;
    std::unique_ptr<test::TestDrive> drive_;
    std::unique_ptr<StationScreen> screen_;
};

QTEST_MAIN(StationScreenTest)
#include "StationScreenTest.moc"
