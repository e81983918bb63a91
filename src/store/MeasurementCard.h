#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One line of a station's discharge measurement card ("<station number>.olc"): fixed 170-byte
// records numbered from 1, no header. Texts are cp1254, space padded, held here decoded and at
// full width as read (a record read and written again keeps its bytes).
inline constexpr std::size_t kMeasurementCardRecordSize = 170;
// A card of 100000 measurements; one larger is not read.
inline constexpr std::uintmax_t kMeasurementCardSizeLimit = 100000 * kMeasurementCardRecordSize;
inline constexpr std::size_t kSuvakMeasurementLineSize = 133;
inline constexpr std::string_view kSuvakSourceTag = "SUVAK";

struct MeasurementCardOffsets {
    static constexpr std::size_t measurementDate = 0;
    static constexpr std::size_t measuredBy = 8;
    static constexpr std::size_t sectionWidth = 38;
    static constexpr std::size_t sectionArea = 42;
    static constexpr std::size_t meanVelocity = 46;
    static constexpr std::size_t gaugeLevel = 50;
    static constexpr std::size_t measuredDischarge = 52;
    static constexpr std::size_t measurementGrade = 56;
    static constexpr std::size_t measurementMethod = 66;
    static constexpr std::size_t remark = 76;
    static constexpr std::size_t errorPercent = 126;
    static constexpr std::size_t shiftMm = 128;
    static constexpr std::size_t spare = 130;
    static constexpr std::size_t sourceTag = 150;
};

struct MeasurementCardWidths {
    static constexpr std::size_t measuredBy = 30;
    static constexpr std::size_t measurementGrade = 10;
    static constexpr std::size_t measurementMethod = 10;
    static constexpr std::size_t remark = 50;
    static constexpr std::size_t spare = 20;
    static constexpr std::size_t sourceTag = 20;
};

struct MeasurementCard {
    OleDate measurementDate;
    std::string measuredBy;
    float sectionWidth = 0.0f;      // m
    float sectionArea = 0.0f;       // m2
    float meanVelocity = 0.0f;      // m/s
    std::int16_t gaugeLevel = 0;    // mm
    float measuredDischarge = 0.0f; // l/s
    std::string measurementGrade;
    std::string measurementMethod;
    std::string remark;
    std::int16_t errorPercent = 0;
    std::int16_t shiftMm = 0;
    std::string spare;
    std::string sourceTag; // "SUVAK" on lines taken over from the sibling program

    bool operator==(const MeasurementCard&) const = default;
};

MeasurementCard parseMeasurementCard(const std::uint8_t* data, std::size_t size);
MeasurementCard parseMeasurementCard(const Bytes& bytes);
Bytes serializeMeasurementCard(const MeasurementCard& record);

// "01-001.olc": the trimmed station number and ".olc".
std::string measurementCardFileName(std::string_view stationNumber);

// Every record of a card file in one pass; a trailing partial record is padded with zeros.
std::vector<MeasurementCard> parseMeasurementCardFile(const Bytes& bytes);

// A sibling-program measurement line whose value cannot be stored (a date that is no date, a
// number that does not fit its field). The message names the field.
class MeasurementLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Converts one 133-character line of a sibling-program measurement list (cp1254 bytes; a
// shorter line reads as padded with spaces). A blank line gives nothing; a line with a value
// that cannot be stored throws MeasurementLineError.
std::optional<MeasurementCard> convertSuvakMeasurementLine(std::string_view line133);

struct MeasurementLineRefusal {
    std::size_t lineNumber = 0; // from 1
    std::string message;
};

struct MeasurementImportResult {
    std::size_t imported = 0;
    std::filesystem::path cardPath;
    std::vector<MeasurementLineRefusal> refused; // lines left out, the rest imported
};

// Takes the lines of a sibling-program measurement list (from line 1 until the end or a blank
// line) into the station's card in targetDir: a line whose date the card already holds
// replaces that record, a new date is appended after the last record. Only changed records
// are written. Throws FileError when the card cannot be read or written.
MeasurementImportResult importMeasurementRecords(const Bytes& sourceFileBytes,
                                                 const std::filesystem::path& targetDir,
                                                 std::string_view stationNumber);
// The same for a source file on disk; throws FileError when it cannot be read.
MeasurementImportResult importMeasurementRecords(const std::filesystem::path& sourceFile,
                                                 const std::filesystem::path& targetDir,
                                                 std::string_view stationNumber);

// Saves a row of the card screen as record rowNumber (from 1), creating the file when missing;
// a row past the end extends the file, the records in between being zero bytes. The row carries
// no spare text or source tag, so both are written blank. Throws FileError on failure and
// std::invalid_argument for row 0.
void writeMeasurementRow(const std::filesystem::path& cardPath, std::size_t rowNumber,
                         const MeasurementCard& record);

} // namespace korvel
