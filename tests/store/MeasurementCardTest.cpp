#include "store/MeasurementCard.h"

#include "common/ScratchDirectory.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

Bytes fileBytes(const fs::path& path) {
    return readFileBytes(path).value_or(Bytes{});
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t size) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

// A 133-character line of a sibling-program measurement list, filled field by field at the
// positions (counted from 1) of the list layout. Texts are cp1254 bytes.
class SuvakLine {
public:
    SuvakLine() : text_(133, ' ') {}
    SuvakLine& at(std::size_t first, std::size_t width, std::string_view value) {
        std::string field(value.substr(0, width));
        field.resize(width, ' ');
        text_.replace(first - 1, width, field);
        return *this;
    }
    SuvakLine& date(std::string_view dd, std::string_view mm, std::string_view yyyy) {
        return at(5, 2, dd).at(7, 2, mm).at(9, 4, yyyy);
    }
    SuvakLine& person(std::string_view v) { return at(13, 20, v); }
    SuvakLine& width(std::string_view v) { return at(33, 8, v); }
    SuvakLine& area(std::string_view v) { return at(41, 7, v); }
    SuvakLine& velocity(std::string_view v) { return at(48, 7, v); }
    SuvakLine& gauge(std::string_view v) { return at(63, 5, v); }
    SuvakLine& discharge(std::string_view integerPart, std::string_view decimals) {
        return at(68, 4, integerPart).at(72, 3, decimals);
    }
    SuvakLine& method(std::string_view v) { return at(75, 9, v); }
    SuvakLine& grade(std::string_view v) { return at(85, 7, v); }
    SuvakLine& remark(std::string_view v) { return at(93, 19, v); }
    SuvakLine& error(std::string_view v) { return at(115, 4, v); }
    SuvakLine& shift(std::string_view v) { return at(119, 5, v); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

SuvakLine fullLine() {
    return SuvakLine()
        .at(1, 4, "K001")
        .date("05", "11", "2003")
        .person("Ali Veli")
        .width("   12.5")
        .area("   3.75")
        .velocity("    0.5")
        .at(55, 8, "ignored!")
        .gauge(" 1.25")
        .discharge("  12", "345")
        .method("pervane")
        .at(84, 1, "x")
        .grade("iyi")
        .at(92, 1, "x")
        .remark(utf8ToCp1254("taşkın sonrası"))
        .at(112, 3, "xyz")
        .error("   5")
        .shift("  -10")
        .at(124, 10, "unused....");
}

Bytes listFile(const std::vector<std::string>& lines) {
    Bytes bytes;
    for (const std::string& line : lines)
        bytes.insert(bytes.end(), line.begin(), line.end());
    return bytes;
}

MeasurementCard cardLine(int y, int m, int d, std::string_view by) {
    MeasurementCard r;
    r.measurementDate = OleDate::fromDate(y, m, d);
    r.measuredBy = std::string(by);
    r.measuredDischarge = 100.0f;
    return r;
}

} // namespace

TEST(MeasurementCardRecord, GoldenOffsets) {
    MeasurementCard r;
    r.measurementDate = OleDate::fromDate(2003, 11, 5);
    r.measuredBy = "Ölçen";
    r.sectionWidth = 12.5f;
    r.sectionArea = 3.75f;
    r.meanVelocity = 0.5f;
    r.gaugeLevel = 125;
    r.measuredDischarge = 12.345f;
    r.measurementGrade = "iyi";
    r.measurementMethod = "pervane";
    r.remark = "not";
    r.errorPercent = 5;
    r.shiftMm = -10;
    r.spare = "";
    r.sourceTag = "SUVAK";
    const Bytes b = serializeMeasurementCard(r);
    ASSERT_EQ(b.size(), 170u);
    EXPECT_EQ(slice(b, 0, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0x40, 0x85, 0xE2, 0x40}));
    Bytes by = {0xD6, 'l', 0xE7, 'e', 'n'};
    by.resize(30, ' ');
    EXPECT_EQ(slice(b, 8, 30), by);
    EXPECT_EQ(slice(b, 38, 4), (Bytes{0x00, 0x00, 0x48, 0x41}));
    EXPECT_EQ(slice(b, 42, 4), (Bytes{0x00, 0x00, 0x70, 0x40}));
    EXPECT_EQ(slice(b, 46, 4), (Bytes{0x00, 0x00, 0x00, 0x3F}));
    EXPECT_EQ(slice(b, 50, 2), (Bytes{0x7D, 0x00}));
    EXPECT_EQ(slice(b, 52, 4), (Bytes{0x1F, 0x85, 0x45, 0x41}));
    EXPECT_EQ(std::string(b.begin() + 56, b.begin() + 66), "iyi       ");
    EXPECT_EQ(std::string(b.begin() + 66, b.begin() + 76), "pervane   ");
    EXPECT_EQ(std::string(b.begin() + 76, b.begin() + 126), "not" + std::string(47, ' '));
    EXPECT_EQ(slice(b, 126, 2), (Bytes{0x05, 0x00}));
    EXPECT_EQ(slice(b, 128, 2), (Bytes{0xF6, 0xFF}));
    EXPECT_EQ(std::string(b.begin() + 130, b.begin() + 150), std::string(20, ' '));
    EXPECT_EQ(std::string(b.begin() + 150, b.begin() + 170), "SUVAK" + std::string(15, ' '));
}

TEST(MeasurementCardRecord, ReadAndWrittenAgainKeepsEveryByte) {
    Bytes bytes(170);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 97 + 13) % 256);
    bytes[9] = 0;
    bytes[60] = 0x81;
    EXPECT_EQ(serializeMeasurementCard(parseMeasurementCard(bytes)), bytes);
}

TEST(MeasurementCardRecord, FileNameAndPartialRecords) {
    EXPECT_EQ(measurementCardFileName("01-001"), "01-001.olc");
    EXPECT_EQ(measurementCardFileName(" 12-345  "), "12-345.olc");

    Bytes bytes = serializeMeasurementCard(cardLine(2003, 11, 5, "A"));
    bytes.resize(170 + 10, 0);
    const std::vector<MeasurementCard> records = parseMeasurementCardFile(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].measurementDate, OleDate::fromDate(2003, 11, 5));
    EXPECT_EQ(records[1], parseMeasurementCard(Bytes(170, 0)));
    EXPECT_TRUE(parseMeasurementCardFile(Bytes{}).empty());
}

TEST(MeasurementCardRows, NewCardSavingRowOneHoldsOneRecord) {
    korvel::testing::ScratchDirectory dir;
    const fs::path path = dir.path() / measurementCardFileName("01-001");
    writeMeasurementRow(path, 1, cardLine(2004, 3, 1, "Ayşe"));
    const Bytes bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 170u);
    EXPECT_EQ(parseMeasurementCard(bytes).measurementDate, OleDate::fromDate(2004, 3, 1));
    EXPECT_THROW(writeMeasurementRow(path, 0, MeasurementCard{}), std::invalid_argument);
}

TEST(MeasurementCardRows, RowPastTheEndLeavesZeroRecordsBetween) {
    korvel::testing::ScratchDirectory dir;
    const fs::path path = dir.path() / "01-001.olc";
    writeMeasurementRow(path, 1, cardLine(2004, 3, 1, "A"));
    writeMeasurementRow(path, 2, cardLine(2004, 4, 1, "B"));
    const Bytes twoRecords = fileBytes(path);
    writeMeasurementRow(path, 5, cardLine(2004, 5, 1, "C"));

    const Bytes bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 5u * 170u);
    EXPECT_EQ(slice(bytes, 0, 340), twoRecords);
    EXPECT_EQ(slice(bytes, 340, 340), Bytes(340, 0));
    const std::vector<MeasurementCard> records = parseMeasurementCardFile(bytes);
    EXPECT_EQ(records[2].measurementDate.date(), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(records[3].gaugeLevel, 0);
    EXPECT_EQ(records[4].measuredBy, "C" + std::string(29, ' '));
}

TEST(SuvakMeasurementLine, ConvertsEveryFieldFromItsPositions) {
    const std::optional<MeasurementCard> r = convertSuvakMeasurementLine(fullLine().text());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->measurementDate, OleDate::fromDate(2003, 11, 5));
    EXPECT_EQ(r->measuredBy, "Ali Veli");
    EXPECT_EQ(r->sectionWidth, 12.5f);
    EXPECT_EQ(r->sectionArea, 3.75f);
    EXPECT_EQ(r->meanVelocity, 0.5f);
    EXPECT_EQ(r->gaugeLevel, 125);
    EXPECT_EQ(r->measuredDischarge, 12.345f);
    EXPECT_EQ(r->measurementMethod, "pervane");
    EXPECT_EQ(r->measurementGrade, "iyi");
    EXPECT_EQ(r->remark, "taşkın sonrası");
    EXPECT_EQ(r->errorPercent, 5);
    EXPECT_EQ(r->shiftMm, -10);
    EXPECT_EQ(r->spare, "");
    EXPECT_EQ(r->sourceTag, "SUVAK");
    const Bytes b = serializeMeasurementCard(*r);
    EXPECT_EQ(std::string(b.begin() + 150, b.begin() + 170), "SUVAK" + std::string(15, ' '));
    EXPECT_EQ(std::string(b.begin() + 130, b.begin() + 150), std::string(20, ' '));
}

TEST(SuvakMeasurementLine, NumbersAsTheListWritesThem) {
    const auto convert = [](SuvakLine line) { return *convertSuvakMeasurementLine(line.text()); };
    EXPECT_EQ(convert(fullLine().gauge("1.25")).gaugeLevel, 125);
    EXPECT_EQ(convert(fullLine().gauge("0.125")).gaugeLevel, 12); // 12.5 halves to even
    EXPECT_EQ(convert(fullLine().gauge("0.375")).gaugeLevel, 38); // 37.5 halves to even
    EXPECT_EQ(convert(fullLine().gauge("")).gaugeLevel, 0);
    EXPECT_EQ(convert(fullLine().gauge("-2.5")).gaugeLevel, -250);
    EXPECT_EQ(convert(fullLine().discharge("    ", "045")).measuredDischarge, 0.045f);
    EXPECT_EQ(convert(fullLine().discharge("1234", "5  ")).measuredDischarge, 1234.5f);
    EXPECT_EQ(convert(fullLine().width("abc")).sectionWidth, 0.0f);
    EXPECT_EQ(convert(fullLine().width("  7.25xy")).sectionWidth, 7.25f);
    EXPECT_EQ(convert(fullLine().date(" 1", " 2", "2004")).measurementDate, OleDate::fromDate(2004, 2, 1));
}

TEST(SuvakMeasurementLine, BlankLineGivesNothing) {
    EXPECT_EQ(convertSuvakMeasurementLine(std::string(133, ' ')), std::nullopt);
    EXPECT_EQ(convertSuvakMeasurementLine(""), std::nullopt);
    EXPECT_EQ(convertSuvakMeasurementLine(std::string(131, ' ') + "\r\n"), std::nullopt);
    EXPECT_EQ(convertSuvakMeasurementLine(std::string(133, '\0')), std::nullopt);
}

TEST(SuvakMeasurementLine, ValuesThatCannotBeStoredAreRefused) {
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().gauge("400").text()), MeasurementLineError);
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().gauge("-400").text()), MeasurementLineError);
    EXPECT_NO_THROW(convertSuvakMeasurementLine(fullLine().gauge("327.6").text()));
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().shift("40000").text()), MeasurementLineError);
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().date("31", "02", "2004").text()),
                 MeasurementLineError);
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().date("  ", "02", "2004").text()),
                 MeasurementLineError);
    EXPECT_THROW(convertSuvakMeasurementLine(fullLine().width("1e99").text()), MeasurementLineError);
}

TEST(MeasurementImport, SameDateReplacesNewDateIsAppended) {
    korvel::testing::ScratchDirectory dir;
    const fs::path card = dir.path() / "12-345.olc";
    writeMeasurementRow(card, 1, cardLine(2003, 10, 10, "A"));
    writeMeasurementRow(card, 2, cardLine(2003, 11, 5, "B"));
    writeMeasurementRow(card, 3, cardLine(2003, 12, 1, "C"));
    const Bytes before = fileBytes(card);

    const Bytes source = listFile({fullLine().date("20", "01", "2004").person("Yeni").text(),
                                   fullLine().date("05", "11", "2003").person("Suvak B").text(),
                                   std::string(133, ' '), fullLine().date("01", "03", "2004").text()});
    const MeasurementImportResult result = importMeasurementRecords(source, dir.path(), "12-345  ");
    EXPECT_EQ(result.imported, 2u);
    EXPECT_EQ(result.cardPath, card);
    EXPECT_TRUE(result.refused.empty());

    const Bytes after = fileBytes(card);
    ASSERT_EQ(after.size(), 4u * 170u);
    EXPECT_EQ(slice(after, 0, 170), slice(before, 0, 170));
    EXPECT_EQ(slice(after, 340, 170), slice(before, 340, 170));
    const std::vector<MeasurementCard> records = parseMeasurementCardFile(after);
    EXPECT_EQ(records[1].measuredBy, "Suvak B" + std::string(23, ' '));
    EXPECT_EQ(records[1].sourceTag, "SUVAK" + std::string(15, ' '));
    EXPECT_EQ(records[1].gaugeLevel, 125);
    EXPECT_EQ(records[3].measurementDate, OleDate::fromDate(2004, 1, 20));
    EXPECT_EQ(records[3].measuredBy, "Yeni" + std::string(26, ' '));

    // Saving that line from the card screen blanks its tag again.
    writeMeasurementRow(card, 2, records[1]);
    EXPECT_EQ(parseMeasurementCardFile(fileBytes(card))[1].sourceTag, std::string(20, ' '));
}

TEST(MeasurementImport, LinesOfOneDateWithinAListReplaceEachOther) {
    korvel::testing::ScratchDirectory dir;
    const Bytes source = listFile({fullLine().person("first").text(), fullLine().person("second").text()});
    const MeasurementImportResult result = importMeasurementRecords(source, dir.path(), "01-001");
    EXPECT_EQ(result.imported, 2u);
    const Bytes bytes = fileBytes(dir.path() / "01-001.olc");
    ASSERT_EQ(bytes.size(), 170u);
    EXPECT_EQ(parseMeasurementCard(bytes).measuredBy, "second" + std::string(24, ' '));
}

TEST(MeasurementImport, RefusedLineIsReportedAndTheRestImported) {
    korvel::testing::ScratchDirectory dir;
    const Bytes source = listFile({fullLine().date("01", "10", "2003").text(),
                                   fullLine().date("02", "10", "2003").gauge("999").text(),
                                   fullLine().date("03", "10", "2003").text()});
    const MeasurementImportResult result = importMeasurementRecords(source, dir.path(), "01-001");
    EXPECT_EQ(result.imported, 2u);
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_EQ(result.refused[0].lineNumber, 2u);
    const std::vector<MeasurementCard> records = parseMeasurementCardFile(fileBytes(result.cardPath));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].measurementDate, OleDate::fromDate(2003, 10, 3));
}

TEST(MeasurementImport, EmptyListLeavesNoCardAndMissingSourceThrows) {
    korvel::testing::ScratchDirectory dir;
    EXPECT_EQ(importMeasurementRecords(Bytes{}, dir.path(), "01-001").imported, 0u);
    EXPECT_FALSE(fs::exists(dir.path() / "01-001.olc"));
    EXPECT_THROW(importMeasurementRecords(dir.path() / "K001.DAT", dir.path(), "01-001"), FileError);

    const fs::path sourceFile = dir.path() / "K001.DAT";
    const std::string last = fullLine().text().substr(0, 120); // a list cut short in its last line
    writeFileAtomic(sourceFile, last);
    EXPECT_EQ(importMeasurementRecords(sourceFile, dir.path(), "01-001").imported, 1u);
}
