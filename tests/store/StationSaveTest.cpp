#include "store/StationSave.h"

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

StationEntry ankaraEntry() {
    StationEntry e;
    e.stationNumber = " 01-001 ";
    e.regionName = "Ankara ";
    e.riverName = "Kızılırmak";
    e.stationName = "Söğütlü";
    e.openingDate = "01.10.1975";
    e.elevation = "12.5";
    e.drainageArea = "1234,56";
    e.thiessenArea = "0.35";
    e.coordinates = "40.08.00K35.00.00D";
    e.basinName = "Kızılırmak";
    return e;
}

std::string fileText(const fs::path& path) {
    const auto bytes = readFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class StationSave : public ::testing::Test {
protected:
    fs::path dataRoot() const { return drive_ / "korvel2000"; }
    fs::path mapFile() const { return dataRoot() / "genel.har"; }
    SaveStationResult save(const StationEntry& e, std::optional<std::string> password = std::nullopt,
                           const StationRecord& loaded = {}) {
        return saveStation(Paths(drive_), e, password, loaded);
    }

    korvel::testing::ScratchDirectory scratch_;
    const fs::path drive_ = scratch_.path();
};

} // namespace

TEST_F(StationSave, WritesGenelTanIntoRegionBasinAndNumberDirectories) {
    const SaveStationResult r = save(ankaraEntry());
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(r.message, "");
    const fs::path dir = dataRoot() / "Ankara" / "01" / "01-001";
    EXPECT_EQ(r.stationDir, dir);
    ASSERT_TRUE(fileExists(dir / "genel.tan"));
    EXPECT_EQ(loadStationRecord(dir, ""), r.record);
    EXPECT_EQ(r.record.stationNumber, "01-001  ");
    EXPECT_EQ(r.record.regionName, fixedText("Ankara", 32));
    EXPECT_EQ(r.record.drainageArea, 1234.56f);
}

TEST_F(StationSave, ElevationIsStoredInHundredths) {
    const SaveStationResult r = save(ankaraEntry());
    const std::string text = fileText(r.stationDir / "genel.tan");
    EXPECT_NE(text.find("\r\n 1250\r\n 123456\r\n 35\r\n"), std::string::npos);
    EXPECT_EQ(loadStationRecord(r.stationDir, "").elevation, 12.5f);

    StationEntry e = ankaraEntry();
    e.elevation = "0,29";
    e.thiessenArea = "";
    const SaveStationResult again = save(e);
    EXPECT_NE(fileText(again.stationDir / "genel.tan").find("\r\n 29\r\n 123456\r\n 0\r\n"),
              std::string::npos);
}

TEST_F(StationSave, RefusalsWriteNothing) {
    StationEntry e = ankaraEntry();
    e.stationNumber = "1-01";
    EXPECT_EQ(save(e).message, "Lutfen istasyon numarası 01-001 gibi beş hane giriniz");
    e = ankaraEntry();
    e.stationNumber = "   ";
    EXPECT_EQ(save(e).message, "Lutfen istasyon numarası ve bölge adını giriniz");
    e = ankaraEntry();
    e.regionName = " ";
    EXPECT_EQ(save(e).message, "Lutfen istasyon numarası ve bölge adını giriniz");
    for (const char* area : {"0", "", "  ", "0,0", "abc", "1e-50", "1e300"}) {
        e = ankaraEntry();
        e.drainageArea = area;
        const SaveStationResult r = save(e);
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.message, "Lutfen yagış alanını giriniz") << area;
    }
    EXPECT_FALSE(fs::exists(dataRoot()));
}

TEST_F(StationSave, NamesThatLeaveTheirDirectoryAreRefused) {
    for (const auto& [region, number] :
         std::initializer_list<std::pair<const char*, const char*>>{{"..", "01-001"},
                                                                    {"../x", "01-001"},
                                                                    {"Ankara", "../../01"},
                                                                    {"Ankara", "01/001"},
                                                                    {"Ankara", "..-001"},
                                                                    {"Ank:ara", "01-001"}}) {
        StationEntry e = ankaraEntry();
        e.regionName = region;
        e.stationNumber = number;
        const SaveStationResult r = save(e);
        EXPECT_FALSE(r.saved) << region << " " << number;
        EXPECT_EQ(r.message, kInvalidDirectoryNameMessage);
    }
    EXPECT_TRUE(fs::is_empty(drive_));
}

TEST_F(StationSave, TextFieldsAreTrimmedAndCut) {
    StationEntry e = ankaraEntry();
    e.stationNumber = "  01-0012345 ";
    e.riverName = "   Sakarya   ";
    e.note = " açıklama, virgüllü ";
    const SaveStationResult r = save(e);
    EXPECT_EQ(r.record.stationNumber, "01-00123");
    EXPECT_EQ(r.stationDir, dataRoot() / "Ankara" / "01" / "01-00123");
    EXPECT_EQ(r.record.riverName, fixedText("Sakarya", 32));
    EXPECT_EQ(loadStationRecord(r.stationDir, ""), r.record);
}

TEST_F(StationSave, PasswordFollowsTheAnswerOnlyWhenAPhoneNumberIsSet) {
    StationRecord loaded;
    loaded.password = fixedText("eski", 12);
    StationEntry e = ankaraEntry();
    EXPECT_FALSE(asksForPassword(e));
    EXPECT_EQ(save(e, "yeni", loaded).record.password, fixedText("eski", 12));

    e.phoneNumber = "3122345678";
    EXPECT_TRUE(asksForPassword(e));
    EXPECT_EQ(save(e, std::nullopt, loaded).record.password, fixedText("eski", 12));
    // Cut to 12 first, then trimmed.
    EXPECT_EQ(save(e, "  abcdefghijklmnop", loaded).record.password, fixedText("abcdefghij", 12));
    EXPECT_EQ(save(e, "", loaded).record.password, fixedText("", 12));
}

TEST_F(StationSave, NumbersThatDoNotFitKeepTheLoadedValue) {
    StationRecord loaded;
    loaded.elevation = 7.0f;
    StationEntry e = ankaraEntry();
    e.elevation = "1e40";
    EXPECT_EQ(save(e, std::nullopt, loaded).record.elevation, 7.0f);
    EXPECT_EQ(entryNumber("12,5"), 12.5);
    EXPECT_EQ(entryNumber(" -3.25 m"), -3.25);
    EXPECT_EQ(entryNumber("x"), 0.0);
}

TEST_F(StationSave, SavingTwiceKeepsOneMapPoint) {
    SaveStationResult r = save(ankaraEntry());
    ASSERT_TRUE(r.mapPosition);
    EXPECT_EQ(*r.mapPosition, (MapPosition{308, 100}));
    EXPECT_TRUE(r.mapPointStored);
    r = save(ankaraEntry());
    const auto points = readMapPoints(mapFile());
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0], (MapPoint{308, 100, "c:\\korvel2000\\Ankara\\01\\01-001"}));
    EXPECT_EQ(fs::file_size(mapFile()), 44u);
    EXPECT_EQ(Paths(drive_).resolve(points[0].stationDir), r.stationDir);
}

TEST_F(StationSave, SecondStationOnTheSamePointTakesItOver) {
    save(ankaraEntry());
    StationEntry other = ankaraEntry();
    other.stationNumber = "01-002";
    save(other);
    EXPECT_EQ(readMapPoints(mapFile()),
              (std::vector<MapPoint>{{308, 100, "c:\\korvel2000\\Ankara\\01\\01-002"}}));

    other.stationNumber = "02-010";
    other.coordinates = "42.05.00K25.25.00D";
    save(other);
    EXPECT_EQ(readMapPoints(mapFile()),
              (std::vector<MapPoint>{{308, 100, "c:\\korvel2000\\Ankara\\01\\01-002"},
                                     {1, 1, "c:\\korvel2000\\Ankara\\02\\02-010"}}));
}

TEST_F(StationSave, BlankCoordinatesLeaveTheMapFileUntouched) {
    fs::create_directories(dataRoot());
    const std::string before(44, 'x');
    writeFileAtomic(mapFile(), before);
    StationEntry e = ankaraEntry();
    e.coordinates = "   ";
    const SaveStationResult r = save(e);
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.mapPosition);
    EXPECT_EQ(fileText(mapFile()), before);

    fs::remove(mapFile());
    save(e);
    EXPECT_FALSE(fs::exists(mapFile()));
}

TEST_F(StationSave, CoordinatesOffTheMapStoreThePointPastTheLastColumn) {
    StationEntry e = ankaraEntry();
    e.coordinates = "10.00.00K10.00.00D";
    const SaveStationResult r = save(e);
    EXPECT_EQ(r.mapPosition, kOffMapPosition);
    EXPECT_EQ(readMapPoints(mapFile()).at(0).x, 645);
    EXPECT_EQ(readMapPoints(mapFile()).at(0).y, 293);
}

TEST_F(StationSave, LongDirectoryIsSavedButNotPutOnTheMap) {
    StationEntry e = ankaraEntry();
    e.regionName = "Ankara Toprak ve Gübre Araştırma"; // the full 32 characters
    const SaveStationResult r = save(e);
    EXPECT_TRUE(r.saved);
    EXPECT_TRUE(fileExists(r.stationDir / "genel.tan"));
    EXPECT_TRUE(r.mapPosition);
    EXPECT_FALSE(r.mapPointStored);
    EXPECT_NE(r.message.find("40 karakterden uzun"), std::string::npos);
    EXPECT_TRUE(readMapPoints(mapFile()).empty());
}

TEST_F(StationSave, ExistingDirectoryOfOtherCaseIsUsed) {
    fs::create_directories(dataRoot() / "ANKARA" / "01");
    const SaveStationResult r = save(ankaraEntry());
    EXPECT_EQ(r.stationDir, dataRoot() / "ANKARA" / "01" / "01-001");
    EXPECT_EQ(readMapPoints(mapFile()).at(0).stationDir, "c:\\korvel2000\\ANKARA\\01\\01-001");
}

TEST_F(StationSave, WriteFailureIsReportedNotHidden) {
    fs::create_directories(dataRoot());
    std::ofstream(dataRoot() / "Ankara") << "a file where the region directory should be";
    const SaveStationResult r = save(ankaraEntry());
    EXPECT_FALSE(r.saved);
    EXPECT_NE(r.message.find("kaydedilemedi"), std::string::npos);
    EXPECT_FALSE(fs::exists(mapFile()));
}
