#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/StationRecord.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct AnnualFlow;

// The yearbook of a whole network: every station of the data root (or of one region or basin)
// for one water year, in region / basin / station-number order.

struct BookStation {
    std::filesystem::path dir;
    std::string region; // the directory names under the data root
    std::string basin;
    std::string number; // trimmed station number
    StationRecord record;
};

enum class BookSectionKind { Flow, Rain };

// One part of the book: the flow tables of a station's water-year file, or the rainfall analysis
// of its rainfall-year file.
struct BookSection {
    BookStation station;
    BookSectionKind kind = BookSectionKind::Flow;
    std::filesystem::path file;
};

// A station the book leaves out, and why.
struct MissingStation {
    std::string region;
    std::string basin;
    std::string number;
    std::string name;
    std::string reason;
};

inline constexpr const char* kNoYearFile = "bu su yılının dosyası yok";
inline constexpr const char* kNoDischarge =
    "günlerin hiçbirinde debi yok (HQ tablosu eksik ya da seviyeler dışında)";

struct NetworkBookPlan {
    int year = 0;
    std::string title; // region (and basin) the book covers, or the data root's name
    std::vector<BookSection> sections;
    std::vector<MissingStation> missing; // stations without a file for the year
};

// The stations under the data root (directories region/basin/station) whose region and basin
// directory names match the filters (empty: any; compared without regard to case). Throws
// std::invalid_argument when no station matches.
NetworkBookPlan planNetworkBook(const std::filesystem::path& dataRoot, int year, std::string_view region,
                                std::string_view basin);

// A month of the water year with days that have no discharge: 0 is October.
struct MonthGap {
    int monthIndex = 0;
    int missingDays = 0;
};

// What one section prints: its sheets (for a flow file the yearbook page and the annual flow
// table, for a rainfall file the one-year analysis), the annual flow behind the chart, and the
// months with missing days. `missingReason` is set when the section has nothing to print. The
// month headings of a month with missing days carry kGapMark.
struct BookSectionContent {
    std::vector<Sheet> sheets;
    std::shared_ptr<const AnnualFlow> flow;
    std::vector<MonthGap> gaps;
    std::optional<std::string> missingReason;
};

inline constexpr const char* kGapMark = " *";
// "* Eksik günler: Ekim 3 gün, Şubat 28 gün"
std::string gapFootnote(const std::vector<MonthGap>& gaps);

// Reads the section's files and computes its tables, writing nothing.
BookSectionContent buildBookSection(const BookSection& section, int flowFileCount, const Locale& locale);

// What writing a book came to.
struct NetworkBookSummary {
    int pages = 0;
    int printedSections = 0;
    // The stations without a file for the year and the sections with nothing to print.
    std::vector<MissingStation> missing;
    bool cancelled = false;
};

// Told after each step (done of total); returning false cancels the book, and nothing is written.
using BookProgress = std::function<bool(int done, int total)>;

// The header line of every page of a section: station number, river and station name, water year.
std::string bookPageHeader(const BookSection& section, int year);

} // namespace korvel
