#include "store/MeasurementCard.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/StationFiles.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace korvel {

namespace fs = std::filesystem;

namespace {

using Offsets = MeasurementCardOffsets;
using Widths = MeasurementCardWidths;

// Characters at positions first..last (counted from 1) of a list line.
std::string_view positions(std::string_view line, std::size_t first, std::size_t last) {
    return line.substr(first - 1, last - first + 1);
}

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\0' || c == '\r' || c == '\n' || c == '\t'; });
}

int dateNumber(std::string_view text, const char* what) {
    const std::string digits = trimmed(text);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw MeasurementLineError(std::string("Ölçüm tarihinin ") + what + " geçersiz: \"" +
                                   cp1254ToUtf8(text) + "\"");
    return std::stoi(digits);
}

OleDate lineDate(std::string_view line) {
    const int day = dateNumber(positions(line, 5, 6), "günü");
    const int month = dateNumber(positions(line, 7, 8), "ayı");
    const int year = dateNumber(positions(line, 9, 12), "yılı");
    if (!isValidDate(year, month, day))
        throw MeasurementLineError("Ölçüm tarihi geçersiz: \"" + cp1254ToUtf8(positions(line, 5, 12)) + "\"");
    return OleDate::fromDate(year, month, day);
}

float realField(double value, const char* field) {
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single))
        throw MeasurementLineError(std::string(field) + " değeri saklanamaz");
    return single;
}

std::int16_t integerField(double value, const char* field) {
    const std::optional<std::int16_t> integer = roundToInt16(value);
    if (!integer)
        throw MeasurementLineError(std::string(field) + " değeri " + generalNumber(value) +
                                   " -32768 ile 32767 arasında değil");
    return *integer;
}

std::string textField(std::string_view bytes) {
    return trimmedRight(cp1254ToUtf8(bytes));
}

// Writes the final state of the touched records that differ from the file as read.
void writeChangedCards(const fs::path& path, const Bytes& original, const std::vector<MeasurementCard>& card,
                       const std::vector<std::size_t>& touched) {
    std::map<std::size_t, Bytes> changed;
    for (std::size_t k : touched) {
        Bytes bytes = serializeMeasurementCard(card[k - 1]);
        const bool wholeInFile = k * kMeasurementCardRecordSize <= original.size();
        if (!wholeInFile || recordAt(original, kMeasurementCardRecordSize, k) != bytes)
            changed[k] = std::move(bytes);
    }
    writeRecords(path, kMeasurementCardRecordSize, changed);
}

} // namespace

MeasurementCard parseMeasurementCard(const std::uint8_t* data, std::size_t size) {
    const ByteReader in(data, size);
    MeasurementCard r;
    r.measurementDate = OleDate(in.f64(Offsets::measurementDate));
    r.measuredBy = in.text(Offsets::measuredBy, Widths::measuredBy);
    r.sectionWidth = in.f32(Offsets::sectionWidth);
    r.sectionArea = in.f32(Offsets::sectionArea);
    r.meanVelocity = in.f32(Offsets::meanVelocity);
    r.gaugeLevel = in.i16(Offsets::gaugeLevel);
    r.measuredDischarge = in.f32(Offsets::measuredDischarge);
    r.measurementGrade = in.text(Offsets::measurementGrade, Widths::measurementGrade);
    r.measurementMethod = in.text(Offsets::measurementMethod, Widths::measurementMethod);
    r.remark = in.text(Offsets::remark, Widths::remark);
    r.errorPercent = in.i16(Offsets::errorPercent);
    r.shiftMm = in.i16(Offsets::shiftMm);
    r.spare = in.text(Offsets::spare, Widths::spare);
    r.sourceTag = in.text(Offsets::sourceTag, Widths::sourceTag);
    return r;
}

MeasurementCard parseMeasurementCard(const Bytes& bytes) {
    return parseMeasurementCard(bytes.data(), bytes.size());
}

Bytes serializeMeasurementCard(const MeasurementCard& r) {
    ByteWriter out(kMeasurementCardRecordSize);
    out.f64(Offsets::measurementDate, r.measurementDate.value());
    out.text(Offsets::measuredBy, Widths::measuredBy, r.measuredBy);
    out.f32(Offsets::sectionWidth, r.sectionWidth);
    out.f32(Offsets::sectionArea, r.sectionArea);
    out.f32(Offsets::meanVelocity, r.meanVelocity);
    out.i16(Offsets::gaugeLevel, r.gaugeLevel);
    out.f32(Offsets::measuredDischarge, r.measuredDischarge);
    out.text(Offsets::measurementGrade, Widths::measurementGrade, r.measurementGrade);
    out.text(Offsets::measurementMethod, Widths::measurementMethod, r.measurementMethod);
    out.text(Offsets::remark, Widths::remark, r.remark);
    out.i16(Offsets::errorPercent, r.errorPercent);
    out.i16(Offsets::shiftMm, r.shiftMm);
    out.text(Offsets::spare, Widths::spare, r.spare);
    out.text(Offsets::sourceTag, Widths::sourceTag, r.sourceTag);
    return out.take();
}

std::string measurementCardFileName(std::string_view stationNumber) {
    return trimmed(stationNumber) + ".olc";
}

std::vector<MeasurementCard> parseMeasurementCardFile(const Bytes& bytes) {
    std::vector<MeasurementCard> records;
    const std::size_t count = recordCount(bytes, kMeasurementCardRecordSize);
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t start = i * kMeasurementCardRecordSize;
        records.push_back(parseMeasurementCard(bytes.data() + start,
                                               std::min(kMeasurementCardRecordSize, bytes.size() - start)));
    }
    return records;
}

std::optional<MeasurementCard> convertSuvakMeasurementLine(std::string_view line133) {
    std::string line(line133.substr(0, std::min(line133.size(), kSuvakMeasurementLineSize)));
    line.resize(kSuvakMeasurementLineSize, ' ');
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (isBlankLine(line))
        return std::nullopt;

    MeasurementCard r;
    r.measurementDate = lineDate(line);
    r.measuredBy = textField(positions(line, 13, 32));
    r.sectionWidth = realField(numericValue(positions(line, 33, 40)), "Genişlik");
    r.sectionArea = realField(numericValue(positions(line, 41, 47)), "Kesit alan");
    r.meanVelocity = realField(numericValue(positions(line, 48, 54)), "Ortalama hız");
    r.gaugeLevel = integerField(numericValue(positions(line, 63, 67)) * 100.0, "Eşel seviyesi");
    const std::string discharge =
        std::string(positions(line, 68, 71)) + "." + std::string(positions(line, 72, 74));
    r.measuredDischarge = realField(numericValue(discharge), "Akım");
    r.measurementMethod = textField(positions(line, 75, 83));
    r.measurementGrade = textField(positions(line, 85, 91));
    r.remark = textField(positions(line, 93, 111));
    r.errorPercent = integerField(numericValue(positions(line, 115, 118)), "Hata (%)");
    r.shiftMm = integerField(numericValue(positions(line, 119, 123)), "Şift");
    r.spare.clear();
    r.sourceTag = std::string(kSuvakSourceTag);
    return r;
}

MeasurementImportResult importMeasurementRecords(const Bytes& sourceFileBytes, const fs::path& targetDir,
                                                 std::string_view stationNumber) {
    MeasurementImportResult result;
    if (const auto problem = stationNumberProblem(stationNumber))
        throw FileError(*problem);
    result.cardPath = stationFilePath(targetDir, measurementCardFileName(stationNumber));

    Bytes original;
    if (fileExists(result.cardPath)) {
        std::optional<Bytes> bytes = readFileBytes(result.cardPath);
        if (!bytes)
            throw FileError("cannot read " + result.cardPath.string());
        original = std::move(*bytes);
    }
    std::vector<MeasurementCard> card = parseMeasurementCardFile(original);
    // The first record holding each date, and the records touched in the order first touched.
    std::map<double, std::size_t> recordOfDate;
    for (std::size_t k = card.size(); k >= 1; --k)
        if (const double date = card[k - 1].measurementDate.value(); !std::isnan(date))
            recordOfDate[date] = k;
    std::vector<std::size_t> touched;
    std::vector<bool> isTouched(card.size() + 1, false);

    const std::size_t lines = recordCount(sourceFileBytes, kSuvakMeasurementLineSize);
    const std::string_view source(reinterpret_cast<const char*>(sourceFileBytes.data()),
                                  sourceFileBytes.size());
    for (std::size_t n = 1; n <= lines; ++n) {
        const std::string_view line =
            source.substr((n - 1) * kSuvakMeasurementLineSize, kSuvakMeasurementLineSize);
        std::optional<MeasurementCard> converted;
        try {
            converted = convertSuvakMeasurementLine(line);
        } catch (const MeasurementLineError& e) {
            result.refused.push_back({n, e.what()});
            continue;
        }
        if (!converted)
            break;
        const auto [same, added] =
            recordOfDate.try_emplace(converted->measurementDate.value(), card.size() + 1);
        const std::size_t k = same->second;
        if (added) {
            card.push_back(std::move(*converted));
            isTouched.push_back(false);
        } else {
            card[k - 1] = std::move(*converted);
        }
        if (!isTouched[k]) {
            isTouched[k] = true;
            touched.push_back(k);
        }
        ++result.imported;
    }
    writeChangedCards(result.cardPath, original, card, touched);
    return result;
}

MeasurementImportResult importMeasurementRecords(const fs::path& sourceFile, const fs::path& targetDir,
                                                 std::string_view stationNumber) {
    const std::optional<Bytes> source = readFileBytes(sourceFile);
    if (!source)
        throw FileError("cannot read " + sourceFile.string());
    return importMeasurementRecords(*source, targetDir, stationNumber);
}

void writeMeasurementRow(const fs::path& cardPath, std::size_t rowNumber, const MeasurementCard& record) {
    if (rowNumber == 0)
        throw std::invalid_argument("card rows are numbered from 1");
    MeasurementCard row = record;
    row.spare.clear();
    row.sourceTag.clear();
    writeRecords(cardPath, kMeasurementCardRecordSize, {{rowNumber, serializeMeasurementCard(row)}});
}

} // namespace korvel
