#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "store/HqTable.h"
#include "transfer/ImportReport.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// A sibling-program rating table ("e01xxxxx.dat"): a text image read by character position.
struct SuvakHqLayout {
    static constexpr std::size_t kImageSize = 6000;  // characters read at most
    static constexpr std::size_t kMinimumSize = 560; // the header, up to the first entry
    static constexpr std::size_t kEntries = 1000;
    static constexpr std::size_t kEndRun = 10; // a run of spaces this long ends the entries
    static constexpr std::size_t kDecimalAreaFirst = 560;
    static constexpr std::size_t kDecimalAreaLast = 5950;

    // Positions count from 1.
    static constexpr std::size_t periodFrom(std::size_t j) { return 7 + 20 * (j - 1); }
    static constexpr std::size_t periodTo(std::size_t j) { return 17 + 20 * (j - 1); }
    static constexpr std::size_t kDateWidth = 10;
    static constexpr std::size_t kEnteredBy = 326;
    static constexpr std::size_t kEnteredByWidth = 50;
    static constexpr std::size_t kCreatedOn = 410;
    static constexpr std::size_t kRemarks = 420;
    static constexpr std::size_t kRemarksWidth = 38;
    // Entry i (1..1000): the flag character, then the discharge in four characters.
    static constexpr std::size_t entryFlag(std::size_t i) { return 556 + 5 * i; }
    static constexpr std::size_t kDischargeWidth = 4;
};

// The two-digit table number of the name ("e01....dat" gives "01"); nothing when characters 2-3
// are not digits.
std::optional<std::string> suvakHqTableNumber(std::string_view fileName);

// The rating table of a file's bytes. Decimal points of the entry area read as decimal
// separators; dates are read in the given locale's rules, an empty or invalid date leaving 0.
// A file shorter than the header, bytes that are no text, or a discharge that is no number
// throw SuvakFormatError.
HqTable convertSuvakHq(const Bytes& fileBytes, const Locale& locale);

// Converts one HQ file into the station's table "<number>_<station>.HQ", creating or
// replacing it. A file not of the expected form is skipped with its reason.
ImportOutcome importSuvakHq(const std::filesystem::path& file, const std::filesystem::path& stationDir,
                            std::string_view stationNumber, const Locale& locale);

} // namespace korvel
