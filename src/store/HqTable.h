#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A stage-discharge rating table: one 5758-byte record in its own file ("01_01-001.HQ").
struct HqTable {
    static constexpr std::size_t kSize = 5758;
    static constexpr std::size_t kLevels = 1001; // level indices 0..1000
    static constexpr std::size_t kFlagCount = 1000;
    static constexpr std::size_t kPeriodSlots = 31;
    static constexpr std::size_t kPeriods = 15; // periods 1..15 are used
    static constexpr std::size_t kEnteredByWidth = 50;
    static constexpr std::size_t kRemarksWidth = 200;

    // Discharge in m3/s for each whole level 0..1000; 0 means no value.
    std::array<float, kLevels> discharge{};
    // Raw flag bytes: keyFlags[k - 1] belongs to level k (k = 1..1000); level 0 has none.
    // NUL = never saved, "1" = typed, "8" = empty when first saved, "2" = interpolated.
    std::string keyFlags = std::string(kFlagCount, '\0');
    std::array<OleDate, kPeriodSlots> validFrom{};
    std::array<OleDate, kPeriodSlots> validTo{};
    OleDate createdOn;
    // Decoded from cp1254 with NUL bytes kept.
    std::string enteredBy = std::string(kEnteredByWidth, '\0');
    std::string remarks = std::string(kRemarksWidth, '\0');

    // The flag byte of a level 1..1000; NUL for level 0 and anything out of range.
    char keyFlag(std::size_t level) const;
    // Sets the flag of a level 1..1000 only when it is still NUL; other levels are ignored.
    void setKeyFlagIfUnset(std::size_t level, char flag);

    bool operator==(const HqTable&) const = default;
};

// A short buffer reads as if padded with zero bytes.
HqTable parseHqTable(const Bytes& bytes);
Bytes serializeHqTable(const HqTable& table);

// Missing or unreadable: an empty table.
HqTable readHqTable(const std::filesystem::path& file);
// The whole record, written through a temporary file.
void writeHqTable(const std::filesystem::path& file, const HqTable& table);

// "01": numbers below 10 get a leading zero.
std::string hqNumberText(int number);
// "01_01-001.HQ": the number text, "_", the station number trimmed.
std::string hqTableFileName(int number, std::string_view stationNumber);
// The key a table is known by in the flow tables: the first two characters of its file name.
std::string hqKeyOfFileName(std::string_view fileName);

struct HqTableSlot {
    std::string fileName;
    HqTable table;
};

// The rating tables of a station in file-name order, at most 21 (slots 0..20).
struct HqTableSet {
    static constexpr std::size_t kMaxTables = 21;
    std::vector<HqTableSlot> entries;
};

// The station's "*.HQ" files (any case), in file-name order; files past the 21st are left out.
HqTableSet loadHqTableSet(const std::filesystem::path& stationDir);

struct HqLookup {
    double discharge = 0.0;
    std::string hqKey;
};

// The table and validity period that cover a date: the slot (0..20) and period (1..15).
struct RatingPeriod {
    std::size_t slot = 0;
    std::size_t period = 0;
};

// The first table, in slot order, with a period 1..15 (up to the first with an empty end
// date) whose start <= date <= end; nothing when none covers the date.
std::optional<RatingPeriod> findRatingPeriod(const HqTableSet& tables, OleDate date);

// The discharge stored for a whole level; nothing for a level outside 0..1000 and for a level
// outside the table's rated range (below its lowest or above its highest non-zero discharge).
std::optional<float> dischargeAtLevel(const HqTable& table, double level);

// The discharge of the first table and validity period (1..15, up to the first with an
// empty end date) whose start <= date <= end, at the level rounded half to even. Nothing
// when no period covers the date, or when the rounded level lies outside 0..1000 or outside
// the table's rated range.
std::optional<HqLookup> lookupDischarge(const HqTableSet& tables, OleDate date, double level);

// The number proposed for a new table: "01" when there is none, else the number of the last
// file (its first two characters) plus one.
std::string proposeNextTableNumber(const std::vector<std::string>& fileNames);

// A new table's number is taken by a table of the station already.
class HqTableNumberInUse : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the station's table `number` (0..99) as an empty record and returns its path.
// A number some "*.HQ" file of the station already carries is refused with
// HqTableNumberInUse and that file stays as it is; a number outside 0..99, whose name
// could not carry it, is refused with std::invalid_argument.
std::filesystem::path createHqTable(const std::filesystem::path& stationDir, int number,
                                    std::string_view stationNumber);

} // namespace korvel
