#include "transfer/SuvakHq.h"

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakFiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

HqFileImage sampleImage() {
    HqFileImage image;
    image.period(1, "01.10.2002", "30.09.2003");
    image.period(2, "01.10.2003", "30.09.2004");
    image.put(326, "Ay\xFE"
                   "e Y\xFDlmaz"); // cp1254, as the sibling program writes it
    image.put(410, "15.03.2004");
    image.put(420, "K\xF6pr\xFC yeniden yap\xFDld\xFD");
    image.entry(1, '1', "   0");
    image.entry(2, '1', "12.5");
    image.entry(3, '2', "  15");
    image.entry(4, '8', " 1,5");
    image.entry(5, '.', "20.7");
    image.entry(6, '1', "4000");
    // Entry 7 starts a run of ten spaces: the table ends; entry 9 is never read.
    image.entry(9, '1', "99.9");
    return image;
}

float floatAt(const Bytes& bytes, std::size_t offset) {
    float value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

double doubleAt(const Bytes& bytes, std::size_t offset) {
    double value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace

TEST(SuvakHq, TableNumberOfTheName) {
    EXPECT_EQ(suvakHqTableNumber("e01abc.dat"), "01");
    EXPECT_EQ(suvakHqTableNumber("E12.DAT"), "12");
    EXPECT_FALSE(suvakHqTableNumber("eab.dat"));
    EXPECT_FALSE(suvakHqTableNumber("e1.dat"));
    EXPECT_FALSE(suvakHqTableNumber("e01.txt"));
}

TEST(SuvakHq, EntriesPeriodsAndTexts) {
    HqFileImage image = sampleImage();
    const HqTable table = convertSuvakHq(image.bytes(), Locale::turkish());

    EXPECT_EQ(table.discharge[0], 0.0F);
    EXPECT_EQ(table.discharge[1], 12.5F); // a decimal point reads as the separator
    EXPECT_EQ(table.discharge[2], 15.0F);
    EXPECT_EQ(table.discharge[3], 1.5F); // so does a comma
    EXPECT_EQ(table.discharge[4], 20.7F);
    EXPECT_EQ(table.discharge[5], 4000.0F);
    EXPECT_EQ(table.discharge[6], 0.0F);
    EXPECT_EQ(table.discharge[8], 0.0F);

    // The flag of entry i is character i; a point in the entry area became a comma.
    EXPECT_EQ(table.keyFlags.substr(0, 7), std::string("1128,1\0", 7));
    EXPECT_EQ(table.keyFlags[8], '\0');

    EXPECT_EQ(table.validFrom[1], OleDate::fromDate(2002, 10, 1));
    EXPECT_EQ(table.validTo[1], OleDate::fromDate(2003, 9, 30));
    EXPECT_EQ(table.validFrom[2], OleDate::fromDate(2003, 10, 1));
    EXPECT_EQ(table.validTo[2], OleDate::fromDate(2004, 9, 30));
    EXPECT_EQ(table.validFrom[3], OleDate());
    EXPECT_EQ(table.validFrom[0], OleDate());
    EXPECT_EQ(table.createdOn, OleDate::fromDate(2004, 3, 15));
    EXPECT_EQ(table.enteredBy.substr(0, 13), "Ay\xC5\x9F"
                                             "e Y\xC4\xB1lmaz");
}

TEST(SuvakHq, InvalidDatesLeaveZero) {
    HqFileImage image;
    image.period(1, "32.13.2004", "xx");
    image.put(410, "31.02.2004");
    image.entry(1, '1', "  10");
    const HqTable table = convertSuvakHq(image.bytes(), Locale::turkish());
    EXPECT_EQ(table.validFrom[1], OleDate());
    EXPECT_EQ(table.validTo[1], OleDate());
    EXPECT_EQ(table.createdOn, OleDate());
    EXPECT_EQ(table.discharge[0], 10.0F);
}

TEST(SuvakHq, ADischargeNoTableCanHoldIsRefused) {
    HqFileImage image;
    image.entry(1, '1', "  10");
    image.entry(2, '1', "9e99");
    try {
        convertSuvakHq(image.bytes(), Locale::turkish());
        FAIL() << "an infinite discharge was taken";
    } catch (const SuvakFormatError& e) {
        EXPECT_EQ(std::string(e.what()), "kayıt 2 debisi saklanamaz: \"9e99\"");
    }
    HqTable table;
    table.discharge[7] = std::numeric_limits<float>::infinity();
    ScratchDirectory scratch;
    EXPECT_THROW(writeHqTable(scratch / "01_01-001.HQ", table), FileError);
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

TEST(SuvakHq, ImportWritesTheStationTableBytes) {
    ScratchDirectory scratch;
    const fs::path station = scratch / "01-001";
    fs::create_directories(station);
    const fs::path source = scratch / "e02kars.dat";
    writeBytes(source, sampleImage().bytes());

    const ImportOutcome outcome = importSuvakHq(source, station, "01-001  ", Locale::turkish());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.target, station / "02_01-001.HQ");

    const Bytes file = fileBytes(station / "02_01-001.HQ");
    ASSERT_EQ(file.size(), 5758u);
    EXPECT_EQ(floatAt(file, 4), 12.5F);
    EXPECT_EQ(floatAt(file, 16), 20.7F);
    EXPECT_EQ(floatAt(file, 20), 4000.0F);
    EXPECT_EQ(floatAt(file, 32), 0.0F);
    EXPECT_EQ(slice(file, 4004, 8), bytesOf(std::string("1128,1\0\0", 8)));
    EXPECT_EQ(doubleAt(file, 5004 + 8), 37530.0); // 1 October 2002
    EXPECT_EQ(doubleAt(file, 5252 + 8), 37894.0); // 30 September 2003
    EXPECT_EQ(doubleAt(file, 5004 + 24), 0.0);
    EXPECT_EQ(doubleAt(file, 5500), 38061.0); // 15 March 2004
    // Texts are cp1254, padded with spaces to their widths.
    const std::string enteredBy(file.begin() + 5508, file.begin() + 5558);
    EXPECT_EQ(enteredBy, "Ay\xFE"
                         "e Y\xFDlmaz" +
                             std::string(39, ' '));
    const std::string remarks(file.begin() + 5558, file.end());
    EXPECT_EQ(remarks.substr(0, 38), std::string("K\xF6pr\xFC yeniden yap\xFDld\xFD") + std::string(17, ' '));
    EXPECT_EQ(remarks.substr(38), std::string(162, ' '));

    // A second import replaces the table whole.
    HqFileImage smaller;
    smaller.entry(1, '1', "   3");
    writeBytes(source, smaller.bytes());
    ASSERT_FALSE(importSuvakHq(source, station, "01-001", Locale::turkish()).skipped());
    const HqTable replaced = readHqTable(station / "02_01-001.HQ");
    EXPECT_EQ(replaced.discharge[0], 3.0F);
    EXPECT_EQ(replaced.discharge[1], 0.0F);
    EXPECT_EQ(replaced.validFrom[1], OleDate());
}

TEST(SuvakHq, FilesNotOfTheFormAreSkipped) {
    ScratchDirectory scratch;
    const fs::path station = scratch / "01-001";
    fs::create_directories(station);

    HqFileImage badEntry;
    badEntry.entry(1, '1', "  10");
    badEntry.entry(2, '1', "1a.5");
    struct Case {
        std::string name;
        Bytes bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"e01.dat", bytesOf(std::string(300, ' ')), "dosya çok kısa (300 karakter, en az 560 gerekir)"},
        {"e01.dat", Bytes(6000, 0xFF), "kayıt 1 debisi sayı değil: \"\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF\""},
        {"e01.dat", Bytes(6000, 0x00), "metin dosyası değil"},
        {"e01.dat", badEntry.bytes(), "kayıt 2 debisi sayı değil: \"1a.5\""},
        {"exy.dat", sampleImage().bytes(), "dosya adı beklenen biçimde değil"},
    };
    for (const Case& c : cases) {
        writeBytes(scratch / c.name, c.bytes);
        const ImportOutcome outcome = importSuvakHq(scratch / c.name, station, "01-001", Locale::turkish());
        ASSERT_TRUE(outcome.skipped()) << c.reason;
        EXPECT_EQ(*outcome.skippedReason, c.reason);
        EXPECT_TRUE(fs::is_empty(station));
        fs::remove(scratch / c.name);
    }
}
