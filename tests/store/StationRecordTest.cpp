#include "store/StationRecord.h"

#include "common/ScratchDirectory.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

std::string padded(std::string_view bytes, std::size_t width) {
    std::string s(bytes);
    s.resize(width, ' ');
    return s;
}

StationRecord fullRecord() {
    using R = StationRecord;
    StationRecord r;
    r.stationNumber = fixedText("01-001", R::stationNumberWidth);
    r.riverName = fixedText("Kızılırmak", R::riverNameWidth);
    r.stationName = fixedText("Söğütlü Köprüsü", R::stationNameWidth);
    r.regionName = fixedText("Ankara", R::regionNameWidth);
    r.openingDate = fixedText("01.10.1975", R::openingDateWidth);
    r.elevation = 12.5f;
    r.drainageArea = 1234.56f;
    r.thiessenArea = 0.35f;
    r.coordinates = fixedText("39.55.00K32.50.00D", R::coordinatesWidth);
    r.note = fixedText("Köprü ayağında eşel", R::noteWidth);
    r.phoneNumber = fixedText("3122345678", R::phoneNumberWidth);
    r.dialPrefix = fixedText("0", R::dialPrefixWidth);
    r.modemHqFile = fixedText("", R::modemHqFileWidth);
    r.basinName = fixedText("Kızılırmak", R::basinNameWidth);
    r.password = fixedText("gizli", R::passwordWidth);
    return r;
}

// genel.tan of fullRecord() as the bytes the file holds (cp1254, CR LF).
std::string fullRecordBytes() {
    return padded("01-001", 8) + "\r\n" +                                //
           padded("K\xFDz\xFDl\xFDrmak", 32) + "\r\n" +                  //
           padded("S\xF6\xF0\xFCtl\xFC K\xF6pr\xFCs\xFC", 32) + "\r\n" + //
           padded("Ankara", 32) + "\r\n" +                               //
           "01.10.1975\r\n" +                                            //
           " 1250\r\n" +                                                 //
           " 123456\r\n" +                                               //
           " 35\r\n" +                                                   //
           "39.55.00K32.50.00D\r\n" +                                    //
           padded("K\xF6pr\xFC aya\xF0\xFDnda e\xFE"
                  "el",
                  200) +
           "\r\n" +                                     //
           padded("3122345678", 20) + "\r\n" +          //
           padded("0", 6) + "\r\n" +                    //
           padded("", 50) + "\r\n" +                    //
           padded("K\xFDz\xFDl\xFDrmak", 12) + "\r\n" + //
           padded("gizli", 12) + "\r\n";
}

class StationRecordDir : public ::testing::Test {
protected:
    korvel::testing::ScratchDirectory scratch_;
    const fs::path dir_ = scratch_.path();
};

} // namespace

TEST(FixedText, CutsPadsAndKeepsOnlyWhatTheFileHolds) {
    EXPECT_EQ(fixedText("01-001", 8), "01-001  ");
    EXPECT_EQ(fixedText("01-001-99", 8), "01-001-9");
    EXPECT_EQ(fixedText("Şişli", 4), "Şişl"); // width counts characters, not UTF-8 bytes
    EXPECT_EQ(fixedText("a€b", 3), "a€b");
    EXPECT_EQ(fixedText("a\xE2\x98\x83", 3), "a? "); // a snowman has no cp1254 byte
}

TEST(StationRecordFile, FullRecordGoldenBytesAndBack) {
    const StationRecord record = fullRecord();
    EXPECT_EQ(serializeStationRecord(record), fullRecordBytes());
    EXPECT_EQ(parseStationRecord(fullRecordBytes()), record);
}

TEST(StationRecordFile, ClearedRecordWritesBlankLinesAndZeros) {
    const std::string bytes = serializeStationRecord(StationRecord{});
    EXPECT_EQ(bytes.substr(0, 10), padded("", 8) + "\r\n");
    EXPECT_NE(bytes.find("\r\n 0\r\n 0\r\n 0\r\n"), std::string::npos);
    EXPECT_EQ(parseStationRecord(bytes), StationRecord{});
}

TEST(StationRecordFile, NumbersAreHundredthsInGeneralFormat) {
    StationRecord r;
    r.elevation = 12.5f;
    r.drainageArea = 8.02f; // float(8.02) * 100 is 802.0001; the shown value 8.02 gives 802
    r.thiessenArea = -2.5f; // negative: no leading space
    std::string bytes = serializeStationRecord(r);
    EXPECT_NE(bytes.find("\r\n 1250\r\n 802\r\n-250\r\n"), std::string::npos);
    const StationRecord back = parseStationRecord(bytes);
    EXPECT_EQ(back.elevation, 12.5f);
    EXPECT_EQ(back.drainageArea, 8.02f);
    EXPECT_EQ(back.thiessenArea, -2.5f);

    r.drainageArea = 123456.7f; // 12345670 hundredths need the exponent form
    r.elevation = 1234.567f;    // fractional hundredths
    bytes = serializeStationRecord(r);
    EXPECT_NE(bytes.find("\r\n 123456.7\r\n 1.234567E+07\r\n"), std::string::npos);
    EXPECT_EQ(parseStationRecord(bytes).drainageArea, 123456.7f);
    EXPECT_EQ(parseStationRecord(bytes).elevation, 1234.567f);
}

TEST(StationRecordFile, EntryRuleRoundsThroughText) {
    EXPECT_EQ(storedHundredths(12.5), 1250.0f);
    EXPECT_EQ(storedHundredths(0.29), 29.0f);   // 0.29 * 100 is 28.999999999999996
    EXPECT_EQ(storedHundredths(1.005), 100.5f); // 1.005 * 100 is 100.49999999999999
    EXPECT_EQ(storedHundredths(1e300), std::nullopt);
    EXPECT_EQ(storedHundredths(1e37), std::nullopt); // beyond a 32-bit float once x 100
    EXPECT_EQ(hundredthsOfField(12.5f), 1250.0f);
}

TEST(StationRecordFile, DecimalCommaNumbersReadWhole) {
    // A number printed with the Turkish decimal comma must not split into two fields.
    std::string bytes = "01-001\r\n\r\n\r\nAnkara\r\n\r\n 1234,5\r\n 1,234567E+07\r\n-12,25\r\nK\r\n";
    const StationRecord r = parseStationRecord(bytes);
    EXPECT_EQ(r.elevation, 12.345f);
    EXPECT_EQ(r.drainageArea, 123456.7f);
    EXPECT_EQ(r.thiessenArea, -0.1225f);
    EXPECT_EQ(r.coordinates, fixedText("K", 18));
}

TEST(StationRecordFile, AcceptsLfLineEndsAndNoFinalLineEnd) {
    std::string lf = fullRecordBytes();
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;)
        lf.erase(p, 1);
    EXPECT_EQ(parseStationRecord(lf), fullRecord());
    lf.pop_back();
    EXPECT_EQ(parseStationRecord(lf), fullRecord());
}

TEST(StationRecordFile, ShortFileLeavesRemainingFieldsCleared) {
    const std::string full = fullRecordBytes();
    // Cut in the middle of the river name line.
    StationRecord r = parseStationRecord(full.substr(0, 14), "Ankara ");
    EXPECT_EQ(r.stationNumber, "01-001  ");
    EXPECT_EQ(r.riverName, fixedText("Kızı", 32));
    EXPECT_EQ(r.regionName, fixedText("Ankara", 32)); // preset region stays when the file ends early
    EXPECT_EQ(r.elevation, 0.0f);
    EXPECT_EQ(r.password, fixedText("", 12));

    // The first eight lines: numbers read, every text after them cleared.
    std::size_t eight = 0;
    for (int n = 0; n < 8; ++n)
        eight = full.find("\r\n", eight) + 2;
    r = parseStationRecord(full.substr(0, eight), "Konya");
    EXPECT_EQ(r.regionName, fixedText("Ankara", 32));
    EXPECT_EQ(r.thiessenArea, 0.35f);
    EXPECT_EQ(r.coordinates, fixedText("", 18));

    EXPECT_EQ(parseStationRecord("", "Tokat "), parseStationRecord("\r\n\r\n\r\nTokat"));
}

TEST(StationRecordFile, ReadingSkipsLeadingSpacesAndSplitsAtCommas) {
    // A file of the older writer with a comma in the river name: the comma ends the field.
    const StationRecord r = parseStationRecord("  01-001\r\nSakarya, yukari\r\nX\r\n");
    EXPECT_EQ(r.stationNumber, "01-001  ");
    EXPECT_EQ(r.riverName, fixedText("Sakarya", 32));
    EXPECT_EQ(r.stationName, fixedText("yukari", 32));
    EXPECT_EQ(r.regionName, fixedText("X", 32));
}

TEST(StationRecordFile, CommasAndQuotesInTextSurviveTheRoundTrip) {
    StationRecord r = fullRecord();
    r.note = fixedText("Köprü, sol sahil; eşel 2 m", StationRecord::noteWidth);
    r.stationName = fixedText("\"Eski\" köprü", StationRecord::stationNameWidth);
    r.riverName = fixedText("Dedi ki \"dur\", sonra", StationRecord::riverNameWidth);
    r.basinName = fixedText("  \"a", StationRecord::basinNameWidth);
    r.dialPrefix = fixedText("  12", StationRecord::dialPrefixWidth);
    const std::string bytes = serializeStationRecord(r);
    // Only the guarded fields are quoted, each at its full width.
    EXPECT_NE(bytes.find("\r\n\"K\xF6pr\xFC, sol sahil; e\xFE"
                         "el 2 m" +
                         std::string(174, ' ') + "\"\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\n\"\"Eski\" k\xF6pr\xFC" + std::string(20, ' ') + "\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n\"  12  \"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n01.10.1975\r\n"), std::string::npos);
    EXPECT_EQ(parseStationRecord(bytes), r);
}

TEST(StationRecordFile, QuotedFieldsOfOtherWriters) {
    // A quote closing the line closes the field; otherwise the first quote does and the rest
    // up to the comma is skipped, as comma-delimited input reads it.
    StationRecord r = parseStationRecord("\"01,001\"   \r\n\"Aksu\" dere, Kale\r\n\"open\r\nX");
    EXPECT_EQ(r.stationNumber, "01,001  ");
    EXPECT_EQ(r.riverName, fixedText("Aksu", 32));
    EXPECT_EQ(r.stationName, fixedText("Kale", 32));
    EXPECT_EQ(r.regionName, fixedText("open", 32));
    EXPECT_EQ(r.openingDate, fixedText("X", 10));
}

TEST(StationRecordFile, LineBreaksInsideTextAreWrittenAsSpaces) {
    StationRecord r;
    r.note = fixedText("satır bir\r\nsatır iki", StationRecord::noteWidth);
    const StationRecord back = parseStationRecord(serializeStationRecord(r));
    EXPECT_EQ(back.note, fixedText("satır bir  satır iki", StationRecord::noteWidth));
    EXPECT_EQ(back.phoneNumber, r.phoneNumber);
}

TEST(StationRecordFile, GarbageNeverThrows) {
    std::mt19937 random(1234);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 600, '\0');
        for (char& c : bytes)
            c = "\r\n,\" 0123456789.Ee-+a\xFD\0"[random() % 23];
        const StationRecord r = parseStationRecord(bytes);
        EXPECT_EQ(utf8Length(r.stationNumber), 8u);
        EXPECT_EQ(utf8Length(r.note), 200u);
        // Whatever was read, writing it and reading it back changes nothing more.
        const std::string written = serializeStationRecord(r);
        EXPECT_EQ(serializeStationRecord(parseStationRecord(written)), written);
    }
}

TEST_F(StationRecordDir, SaveAndLoadTheFile) {
    const StationRecord record = fullRecord();
    saveStationRecordFile(dir_, record);
    const auto bytes = readFileBytes(dir_ / "genel.tan");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), fullRecordBytes());
    EXPECT_EQ(loadStationRecord(dir_, "Konya "), record);

    // Saving again replaces the file whole and leaves no temporary file behind.
    StationRecord changed = record;
    changed.elevation = 3.0f;
    saveStationRecordFile(dir_, changed);
    EXPECT_EQ(loadStationRecord(dir_, ""), changed);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(StationRecordDir, MissingFileGivesTheClearedRecordWithTheRegion) {
    StationRecord expected;
    expected.regionName = fixedText("Samsun", StationRecord::regionNameWidth);
    EXPECT_EQ(loadStationRecord(dir_ / "none", "Samsun "), expected);
}

TEST_F(StationRecordDir, FileNameCaseIsIgnored) {
    writeFileAtomic(dir_ / "GENEL.TAN", fullRecordBytes());
    EXPECT_EQ(loadStationRecord(dir_, ""), fullRecord());
    saveStationRecordFile(dir_, StationRecord{});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    EXPECT_EQ(loadStationRecord(dir_, ""), StationRecord{});
}
