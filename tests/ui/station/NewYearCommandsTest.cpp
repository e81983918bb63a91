#include "ui/station/NewYearCommands.h"

#include "../app/AppTestDrive.h"
#include "core/FileIO.h"
#include "core/OleDate.h"
#include "platform/ScriptedDialogs.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"
#include "ui/station/StationScreen.h"

#include <QListWidget>
#include <QTest>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

// The new-year commands work on the station screen's current station and list its files again.
class NewYearCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dialogs_ = std::make_unique<ScriptedDialogs>();
        scope_ = std::make_unique<DialogProviderScope>(*dialogs_);
        drive_ = std::make_unique<test::TestDrive>(true);
        drive_->settings().setLastStationPath("c:\\korvel2000\\Ankara\\01\\01-001");
        screen_ = std::make_unique<StationScreen>(drive_->context());
    }
    void cleanup() {
        screen_.reset();
        drive_.reset();
        scope_.reset();
        dialogs_.reset();
    }

    void waterYearPromptProposesTheYearAfterTheLastFile() {
        dialogs_->queueInput("2005");
        const auto file = addWaterYear(nullptr, *screen_, QDate(2010, 3, 1));
        QVERIFY(file.has_value());
        QCOMPARE(dialogs_->calls().size(), 1);
        QCOMPARE(dialogs_->calls().front().text, text("Lütfen oluşturulacak su yılını giriniz"));
        QCOMPARE(dialogs_->calls().front().defaultAnswer, QString("2005"));

        QCOMPARE(*file, drive_->station("01-001") / "2005_01-001.ard");
        const std::vector<DayRecord> days = readWaterYearFile(*file);
        QCOMPARE(days.size(), std::size_t(366));
        QCOMPARE(days.front().date, OleDate::fromDate(2004, 10, 1));
        QCOMPARE(days.back().date, OleDate::fromDate(2005, 10, 1));
        QCOMPARE(fs::file_size(*file), std::uintmax_t(46848));

        // The station screen lists the new file.
        auto* flowFiles = screen_->findChild<QListWidget*>(stationControls::kFlowFiles);
        QCOMPARE(flowFiles->count(), 11);
        QCOMPARE(flowFiles->item(10)->text(), QString("2005_01-001.ard"));
        QCOMPARE(screen_->current().selectedFlowFile, std::string("2004_01-001.ard"));
    }

    void stationWithoutWaterYearsProposesTheCurrentYear() {
        screen_->setStationDirectory(drive_->station("01-003"));
        dialogs_->queueCancel();
        QVERIFY(!addWaterYear(nullptr, *screen_, QDate(2011, 12, 31)));
        QCOMPARE(dialogs_->calls().front().defaultAnswer, QString("2011"));
        QVERIFY(listFiles(drive_->station("01-003"), "*.ard").empty());
    }

    void existingYearAndAnswersThatAreNoYearEndSilently() {
        const fs::path existing = drive_->station("01-001") / "2004_01-001.ard";
        const Bytes before = readFileBytes(existing).value();
        for (const char* answer : {"2004", "abc", "", "2004,5", "99999"}) {
            dialogs_->queueInput(answer);
            QVERIFY(!addWaterYear(nullptr, *screen_));
        }
        QVERIFY(dialogs_->messages().isEmpty());
        QCOMPARE(readFileBytes(existing).value(), before);
        QCOMPARE(listFiles(drive_->station("01-001"), "*.ard").size(), std::size_t(10));
    }

    void newYearsNeedAStation() {
        screen_->setStationDirectory(drive_->dataRoot());
        QVERIFY(!addWaterYear(nullptr, *screen_));
        QVERIFY(!addRainYear(nullptr, *screen_));
        QCOMPARE(dialogs_->messages(), QStringList({text("Lütfen istasyon secimin yapınız"),
                                                    text("Lütfen istasyon secimin yapınız")}));
        QVERIFY(listFiles(drive_->dataRoot(), "*.*").size() == 1); // genel.har only
    }

    void rainYearFileIsCreatedUnderTheFullStationNumber() {
        dialogs_->queueInput(" 2005 ");
        const auto file = addRainYear(nullptr, *screen_);
        QVERIFY(file.has_value());
        QCOMPARE(dialogs_->calls().front().text, text("Yeni su yılını gririniz"));
        QCOMPARE(dialogs_->calls().front().defaultAnswer, QString());
        QCOMPARE(*file, drive_->station("01-001") / "2005_01-001  .yrd");
        QCOMPARE(fs::file_size(*file), std::uintmax_t(366 * 1470));
        const auto records = parseRainYearFile(readFileBytes(*file).value());
        QCOMPARE(records.front().dayDate, OleDate::fromDate(2004, 10, 1));
        auto* rainFiles = screen_->findChild<QListWidget*>(stationControls::kRainFiles);
        QCOMPARE(rainFiles->count(), 13);
        QCOMPARE(rainFiles->item(12)->text(), QString("2005_01-001  .yrd"));
    }

    void rainYearRefusalsAreReportedAndKeepTheFile() {
        const fs::path existing = drive_->station("01-001") / "2004_01-001  .yrd";
        const Bytes before = readFileBytes(existing).value();
        dialogs_->queueInput("2004");
        QVERIFY(!addRainYear(nullptr, *screen_));
        dialogs_->queueInput("20x5");
        QVERIFY(!addRainYear(nullptr, *screen_));
        dialogs_->queueCancel();
        QVERIFY(!addRainYear(nullptr, *screen_));
        QCOMPARE(dialogs_->messages().size(), 2);
        QVERIFY(dialogs_->messages().at(0).contains(text("zaten var")));
        QCOMPARE(readFileBytes(existing).value(), before);
    }

    void commandsWorkOnAnyStationHub() {
        MemoryStationHub hub;
        hub.setStationDirectory(drive_->station("01-002"));
        dialogs_->queueInput("2006");
        QCOMPARE(addWaterYear(nullptr, hub).value(), drive_->station("01-002") / "2006_01-002.ard");
    }

private:
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<DialogProviderScope> scope_;
    std::unique_ptr<test::TestDrive> drive_;
    std::unique_ptr<StationScreen> screen_;
};

QTEST_MAIN(NewYearCommandsTest)
#include "NewYearCommandsTest.moc"
