#include "store/HqTable.h"

#include "common/Dates.h"
#include "common/ScratchDirectory.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"

#include <cmath>
#include <gtest/gtest.h>

namespace korvel {
namespace {

using testing::fileBytes;
using testing::ScratchDirectory;
using testing::slice;
using testing::writeBytes;

using korvel::testing::day;

// ---- record layout -------------------------------------------------------------------------

TEST(HqTableLayout, FieldsSitAtTheirOffsets) {
    HqTable t;
    t.discharge[0] = 1.5F;
    t.discharge[1000] = 2.0F;
    t.keyFlags[0] = '1';   // level 1
    t.keyFlags[999] = '8'; // level 1000
    t.validFrom[1] = day(2003, 10, 1);
    t.validTo[1] = day(2004, 9, 30);
    t.validFrom[30] = day(2005, 9, 30);
    t.createdOn = day(2004, 9, 30);
    t.enteredBy = "Ayşe";
    t.remarks = "ölçüm";

    const Bytes b = serializeHqTable(t);
    ASSERT_EQ(b.size(), 5758u);
    EXPECT_EQ(slice(b, 0, 4), (Bytes{0x00, 0x00, 0xC0, 0x3F}));
    EXPECT_EQ(slice(b, 4000, 4), (Bytes{0x00, 0x00, 0x00, 0x40}));
    EXPECT_EQ(b[4004], '1');
    EXPECT_EQ(b[5003], '8');
    EXPECT_EQ(slice(b, 4005, 998), Bytes(998, 0));
    EXPECT_EQ(slice(b, 5004, 8), Bytes(8, 0));
    EXPECT_EQ(slice(b, 5012, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0xE0, 0x80, 0xE2, 0x40}));
    EXPECT_EQ(slice(b, 5244, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x20, 0xDC, 0xE2, 0x40}));
    EXPECT_EQ(slice(b, 5260, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x80, 0xAE, 0xE2, 0x40}));
    EXPECT_EQ(slice(b, 5500, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x80, 0xAE, 0xE2, 0x40}));
    EXPECT_EQ(slice(b, 5508, 4), (Bytes{'A', 'y', 0xFE, 'e'}));
    EXPECT_EQ(slice(b, 5512, 46), Bytes(46, ' '));
    EXPECT_EQ(slice(b, 5558, 5), (Bytes{0xF6, 'l', 0xE7, 0xFC, 'm'}));
    EXPECT_EQ(slice(b, 5563, 195), Bytes(195, ' '));

    const HqTable back = parseHqTable(b);
    EXPECT_EQ(back.discharge, t.discharge);
    EXPECT_EQ(back.keyFlags, t.keyFlags);
    EXPECT_EQ(back.validFrom, t.validFrom);
    EXPECT_EQ(back.validTo, t.validTo);
    EXPECT_EQ(back.createdOn, t.createdOn);
    EXPECT_EQ(trimmedRight(back.enteredBy), "Ayşe");
    EXPECT_EQ(trimmedRight(back.remarks), "ölçüm");
}

TEST(HqTableLayout, EmptyTableIsAllZeroBytes) {
    EXPECT_EQ(serializeHqTable(HqTable{}), Bytes(5758, 0));
}

TEST(HqTableLayout, AnyRecordReadAndWrittenAgainKeepsEveryByte) {
    Bytes original(5758);
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 131 + 7);
    original[5520] = 0x00; // a NUL inside enteredBy
    original[5600] = 0x81; // a byte cp1254 leaves undefined
    EXPECT_EQ(serializeHqTable(parseHqTable(original)), original);
}

TEST(HqTableLayout, TruncatedFileReadsAsZerosBeyondItsEnd) {
    HqTable t;
    t.discharge.fill(3.0F);
    t.keyFlags = std::string(1000, '1');
    t.validFrom[1] = day(2003, 10, 1);
    t.validTo[1] = day(2004, 9, 30);
    t.enteredBy = "Ali";
    Bytes b = serializeHqTable(t);
    b.resize(4010);

    const HqTable back = parseHqTable(b);
    EXPECT_EQ(back.discharge[1000], 3.0F);
    EXPECT_EQ(back.keyFlags.substr(0, 6), "111111");
    EXPECT_EQ(back.keyFlags.substr(6), std::string(994, '\0'));
    EXPECT_TRUE(back.validFrom[1].isEmpty());
    EXPECT_TRUE(back.validTo[1].isEmpty());
    EXPECT_EQ(back.enteredBy, std::string(50, '\0'));

    const HqTable half = parseHqTable(slice(serializeHqTable(t), 0, 2));
    EXPECT_EQ(half.discharge[0], 0.0F);
    EXPECT_EQ(parseHqTable(Bytes{}), HqTable{});
}

// ---- names ---------------------------------------------------------------------------------

TEST(HqTableNaming, NumberTextAndFileName) {
    EXPECT_EQ(hqNumberText(1), "01");
    EXPECT_EQ(hqNumberText(9), "09");
    EXPECT_EQ(hqNumberText(10), "10");
    EXPECT_EQ(hqTableFileName(1, " 01-001 "), "01_01-001.HQ");
    EXPECT_EQ(hqTableFileName(12, "01-001"), "12_01-001.HQ");
    EXPECT_EQ(hqKeyOfFileName("12_01-001.HQ"), "12");
}

TEST(HqTableNaming, ProposedNumberFollowsTheLastFile) {
    EXPECT_EQ(proposeNextTableNumber({}), "01");
    EXPECT_EQ(proposeNextTableNumber({"01_01-001.HQ", "02_01-001.HQ"}), "3");
    EXPECT_EQ(proposeNextTableNumber({"01_01-001.HQ", "09_01-001.HQ"}), "10");
}

// ---- the station's set of tables -----------------------------------------------------------

TEST(HqTableSetLoad, TakesHqFilesOfAnyCaseInNameOrder) {
    ScratchDirectory dir;
    HqTable first;
    first.discharge[5] = 55.0F;
    writeBytes(dir / "10_01-001.Hq", serializeHqTable(HqTable{}));
    writeBytes(dir / "02_01-001.HQ", serializeHqTable(HqTable{}));
    writeBytes(dir / "01_01-001.hq", serializeHqTable(first));
    writeBytes(dir / "2004_01-001.ard", Bytes(10, 1));
    std::filesystem::create_directory(dir / "03_folder.HQ");

    const HqTableSet set = loadHqTableSet(dir.path());
    ASSERT_EQ(set.entries.size(), 3u);
    EXPECT_EQ(set.entries[0].fileName, "01_01-001.hq");
    EXPECT_EQ(set.entries[0].table.discharge[5], 55.0F);
    EXPECT_EQ(set.entries[1].fileName, "02_01-001.HQ");
    EXPECT_EQ(set.entries[2].fileName, "10_01-001.Hq");
    EXPECT_TRUE(loadHqTableSet(dir / "missing").entries.empty());
}

TEST(HqTableSetLoad, HoldsAtMost21Tables) {
    ScratchDirectory dir;
    for (int n = 1; n <= 25; ++n)
        writeBytes(dir / hqTableFileName(n, "01-001"), Bytes(5758, 0));
    const HqTableSet set = loadHqTableSet(dir.path());
    ASSERT_EQ(set.entries.size(), 21u);
    EXPECT_EQ(set.entries.back().fileName, "21_01-001.HQ");
}

// ---- lookup --------------------------------------------------------------------------------

// A table whose discharge at level i is i + offset, so the index read shows in the result.
HqTable rampTable(float offset) {
    HqTable t;
    for (std::size_t i = 0; i < HqTable::kLevels; ++i)
        t.discharge[i] = static_cast<float>(i) + offset;
    return t;
}

void setPeriod(HqTable& t, std::size_t j, OleDate from, OleDate to) {
    t.validFrom[j] = from;
    t.validTo[j] = to;
}

HqTableSet setOf(std::vector<HqTable> tables) {
    HqTableSet set;
    int number = 1;
    for (auto& t : tables)
        set.entries.push_back(HqTableSlot{hqTableFileName(number++, "01-001"), std::move(t)});
    return set;
}

TEST(HqLookup, LevelIsRoundedHalfToEven) {
    HqTable t = rampTable(0.25F);
    setPeriod(t, 1, day(2003, 10, 1), day(2004, 9, 30));
    const HqTableSet set = setOf({t});
    const OleDate d = day(2004, 1, 15);

    EXPECT_EQ(lookupDischarge(set, d, 45.5)->discharge, 46.25);
    EXPECT_EQ(lookupDischarge(set, d, 46.5)->discharge, 46.25);
    EXPECT_EQ(lookupDischarge(set, d, 12.5)->discharge, 12.25);
    EXPECT_EQ(lookupDischarge(set, d, 13.5)->discharge, 14.25);
    EXPECT_EQ(lookupDischarge(set, d, 12.5)->hqKey, "01");
}

TEST(HqLookup, LevelOutsideTheTableGivesNoDischarge) {
    HqTable t = rampTable(0.25F);
    setPeriod(t, 1, day(2003, 10, 1), day(2004, 9, 30));
    const HqTableSet set = setOf({t});
    const OleDate d = day(2004, 1, 15);

    EXPECT_EQ(lookupDischarge(set, d, -0.5)->discharge, 0.25);
    EXPECT_EQ(lookupDischarge(set, d, 1000.5)->discharge, 1000.25);
    EXPECT_EQ(lookupDischarge(set, d, -0.6), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, 1000.6), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, 32767.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, std::nan("")), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, INFINITY), std::nullopt);
}

TEST(HqLookup, LevelOutsideTheRatedRangeGivesNoDischargeNotZero) {
    HqTable t;
    for (std::size_t i = 20; i <= 30; ++i)
        t.discharge[i] = static_cast<float>(i) / 10.0F;
    t.discharge[25] = 0.0F; // a zero inside the rated range is a value of the table
    setPeriod(t, 1, day(2003, 10, 1), day(2004, 9, 30));
    const HqTableSet set = setOf({t});
    const OleDate d = day(2004, 1, 15);

    EXPECT_EQ(lookupDischarge(set, d, 19.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, 0.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, d, 20.0)->discharge, 2.0F);
    EXPECT_EQ(lookupDischarge(set, d, 25.0)->discharge, 0.0);
    EXPECT_EQ(lookupDischarge(set, d, 30.0)->discharge, 3.0F);
    EXPECT_EQ(lookupDischarge(set, d, 31.0), std::nullopt);
    EXPECT_EQ(dischargeAtLevel(HqTable{}, 10.0), std::nullopt);
}

TEST(HqLookup, DateOutsideEveryPeriodGivesNoDischarge) {
    HqTable t = rampTable(0.0F);
    setPeriod(t, 1, day(2003, 10, 1), day(2004, 9, 30));
    const HqTableSet set = setOf({t});
    EXPECT_EQ(lookupDischarge(set, day(2003, 9, 30), 10.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(set, day(2004, 10, 1), 10.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(HqTableSet{}, day(2004, 1, 1), 10.0), std::nullopt);
}

TEST(HqLookup, FirstTableInTheListWins) {
    HqTable a = rampTable(0.0F);
    HqTable b = rampTable(5000.0F);
    setPeriod(a, 1, day(2001, 1, 1), day(2001, 12, 31));
    setPeriod(a, 2, day(2004, 1, 1), day(2004, 1, 31));
    setPeriod(b, 1, day(2003, 10, 1), day(2004, 9, 30));
    const HqTableSet set = setOf({a, b});

    const auto inJanuary = lookupDischarge(set, day(2004, 1, 10), 10.0);
    EXPECT_EQ(inJanuary->discharge, 10.0);
    EXPECT_EQ(inJanuary->hqKey, "01");
    const auto inMarch = lookupDischarge(set, day(2004, 3, 10), 10.0);
    EXPECT_EQ(inMarch->discharge, 5010.0);
    EXPECT_EQ(inMarch->hqKey, "02");
}

TEST(HqLookup, OnlyPeriods1To15UpToTheFirstEmptyEndCount) {
    HqTable late = rampTable(0.0F);
    for (std::size_t j = 1; j <= 15; ++j)
        setPeriod(late, j, day(1990, 1, static_cast<int>(j)), day(1990, 1, static_cast<int>(j)));
    for (std::size_t j = 16; j <= 30; ++j)
        setPeriod(late, j, day(2003, 10, 1), day(2004, 9, 30));
    EXPECT_EQ(lookupDischarge(setOf({late}), day(2004, 1, 1), 10.0), std::nullopt);

    HqTable cut = rampTable(0.0F);
    setPeriod(cut, 1, day(1990, 1, 1), day(1990, 12, 31));
    setPeriod(cut, 2, day(1991, 1, 1), day(1991, 12, 31));
    setPeriod(cut, 3, day(2004, 1, 1), OleDate());
    setPeriod(cut, 4, day(2003, 10, 1), day(2004, 9, 30));
    HqTable next = rampTable(700.0F);
    setPeriod(next, 1, day(2003, 10, 1), day(2004, 9, 30));
    EXPECT_EQ(lookupDischarge(setOf({cut}), day(2004, 1, 1), 10.0), std::nullopt);
    EXPECT_EQ(lookupDischarge(setOf({cut}), day(1991, 6, 1), 10.0)->discharge, 10.0);
    // The search goes on with the next table.
    EXPECT_EQ(lookupDischarge(setOf({cut, next}), day(2004, 1, 1), 10.0)->hqKey, "02");
}

TEST(HqLookup, PeriodOfOneDayCoversExactlyThatDay) {
    HqTable t = rampTable(0.0F);
    setPeriod(t, 1, day(2004, 2, 29), day(2004, 2, 29));
    const HqTableSet set = setOf({t});
    EXPECT_TRUE(lookupDischarge(set, day(2004, 2, 29), 1.0));
    EXPECT_FALSE(lookupDischarge(set, day(2004, 2, 28), 1.0));
    EXPECT_FALSE(lookupDischarge(set, day(2004, 3, 1), 1.0));
}

// ---- creating a table ----------------------------------------------------------------------

TEST(HqTableCreate, NewTableIsAnEmptyRecord) {
    ScratchDirectory dir;
    const auto file = createHqTable(dir.path(), 1, " 01-001 ");
    EXPECT_EQ(file, dir / "01_01-001.HQ");
    EXPECT_EQ(fileBytes(file), Bytes(5758, 0));
    EXPECT_EQ(proposeNextTableNumber(listFiles(dir.path(), "*.HQ")), "2");
}

TEST(HqTableCreate, NumberInUseIsRefusedAndTheOldTableKept) {
    ScratchDirectory dir;
    HqTable old = rampTable(1.0F);
    old.enteredBy = "Mehmet";
    const Bytes oldBytes = serializeHqTable(old);
    writeBytes(dir / "02_01-001.hq", oldBytes);
    writeBytes(dir / "03_01-009.HQ", oldBytes);

    EXPECT_THROW(createHqTable(dir.path(), 2, "01-001"), HqTableNumberInUse);
    EXPECT_THROW(createHqTable(dir.path(), 3, "01-001"), HqTableNumberInUse);
    EXPECT_EQ(fileBytes(dir / "02_01-001.hq"), oldBytes);
    EXPECT_EQ(fileBytes(dir / "03_01-009.HQ"), oldBytes);
    EXPECT_EQ(listFiles(dir.path(), "*").size(), 2u);
}

TEST(HqTableCreate, NumberANameCannotCarryIsRefused) {
    ScratchDirectory dir;
    EXPECT_THROW(createHqTable(dir.path(), 100, "01-001"), std::invalid_argument);
    EXPECT_THROW(createHqTable(dir.path(), -1, "01-001"), std::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace korvel
