#pragma once

#include "core/Locale.h"
#include "flow/MeasuredDays.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The monthly mean discharges of one water-year file (month 0 = October) and whether the
// year is incomplete: a day with a discharge of exactly 0 makes it so at once, and so does a
// file none of whose days has a discharge. A complete year more than half of whose days with
// a discharge carry it as "G"/"K" (built from monthly totals or by this completion) is
// derived: it is no observed year and takes part in no correlation.
struct YearMonthlyMeans {
    bool incomplete = true;
    bool derived = false;
    std::array<double, 12> mean{};
};
YearMonthlyMeans scanWaterYear(const std::vector<DayRecord>& records, const HqTableSet& tables);

// The complete water years of one station with their monthly means, in file-list order, and
// the flow files found incomplete.
struct StationYears {
    std::filesystem::path stationDir;
    std::vector<std::string> years; // first four characters of each complete file's name
    std::vector<std::array<double, 12>> means;
    std::vector<std::filesystem::path> incompleteFiles;
    std::vector<std::string> derivedYears; // complete years mostly of "G"/"K" days
    std::string lastFlowFile;              // the last name of the station's flow-file list; empty when none

    bool hasYear(std::string_view year) const;
    bool hasDerivedYear(std::string_view year) const;
    // The complete year's or incomplete file's place in the lists.
    void addYear(const std::filesystem::path& flowFile, const YearMonthlyMeans& year);
};

// The straight line y = a + b x through the pairs of monthly means of the common years:
// x the target's, y the reference's. `r` is missing when the reference's means do not vary.
struct CorrelationFit {
    int commonYears = 0;
    int points = 0; // 12 per common year
    std::optional<double> r;
    float b = 0.0F;
    float a = 0.0F;
};

// Pairs every target year with each reference year of the same text. Nothing when there is
// no common year, when the target's means add up to 0, or when they do not vary (no line).
std::optional<CorrelationFit> correlate(const StationYears& target, const StationYears& reference);

inline constexpr double kLowestCandidateR = 0.85;
inline constexpr double kHighestCandidateR = 0.9999; // keeps the target itself out
bool isCorrelationCandidate(const CorrelationFit& fit);

// "%91,236 ..01-002 nolu istasyonun ortak yıl sayisi 2 yildir  tamamlayabileceği yilsayısı 3"
std::string candidateLine(const CorrelationFit& fit, const StationYears& reference, const Locale& locale);
// b + " ----  " + a in the general number format.
std::string fitText(const CorrelationFit& fit, const Locale& locale);
// The flow file's path in the form stored in files + "  istasyonun su yilinda eksik data".
std::string incompleteYearLine(std::string_view windowsPath);
// " Taranan..  " + station directory + "\" + flow file name.
std::string scanningText(std::string_view windowsStationDir, std::string_view flowFileName);

// The file of water year `year` named like `likeFlowFile`: the year followed by that name from
// its 5th character on ("2002" and "2004_01-001.ard" give "2002_01-001.ard").
std::string flowFileOfYear(std::string_view year, std::string_view likeFlowFile);

// The tag of a completed day: "K " + the first three characters of the candidate line + "_" +
// the reference flow file name from its 6th character, cut to 12 characters.
std::string completionSource(std::string_view candidateLine, std::string_view referenceFlowFile);

struct CompletionOutcome {
    enum class Status {
        Completed,
        AlreadyComplete,   // the target lists the year among its complete or derived years
        NotReferenceYear,  // the reference has no complete year of that name
        NoReferenceFile,   // the reference file cannot be read
        LineNotInvertible, // b is 0: the line gives no target value
        MeasuredDaysKept,  // the days to fill hold measured days, which may not be replaced
    };
    Status status = Status::Completed;
    std::filesystem::path targetFile;
    std::size_t filledDays = 0;    // days whose mean was 0 and now carry a discharge
    std::size_t uncoveredDays = 0; // days left as they were: no discharge on the reference day
    std::size_t measuredDays = 0;  // measured days (mean 0, tag neither blank nor "G"/"K") filled
};

// "N ölçülmüş gün ...": the question put before a completion replaces measured days.
std::string completionMeasuredDaysQuestion(std::size_t measuredDays);

// Completes water year `year` of the target from the reference through the fitted line. The
// target file is `flowFileOfYear(year, targetFlowFile)` in the target directory, created when
// missing. For each reference record k, a target day whose mean is 0 gets
// floor(10 (q - a) / b) / 10 of the reference day's discharge q and the completion tag; a
// reference day without a discharge leaves the target day as it was. Every record then takes
// the reference record's date. Records the reference file does not have are not touched; a
// new target file still gets 366 records, those past the reference's dated on from its first.
// Days to fill that are measured days are filled only with `MeasuredDays::Replace`; with Keep
// nothing is written and the outcome names how many there are. Throws FileError when the
// target cannot be read or written.
CompletionOutcome completeYear(const StationYears& target, std::string_view targetFlowFile,
                               const StationYears& reference, const CorrelationFit& fit,
                               std::string_view candidateLineText, std::string_view year,
                               MeasuredDays measuredDays);

} // namespace korvel
