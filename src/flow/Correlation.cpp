#include "flow/Correlation.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/NumberFormat.h"
#include "core/Paths.h"
#include "flow/YearWalk.h"
#include "store/DayDischarge.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace korvel {

namespace fs = std::filesystem;

YearMonthlyMeans scanWaterYear(const std::vector<DayRecord>& records, const HqTableSet& tables) {
    YearMonthlyMeans year;
    std::array<double, 12> sums{};
    std::size_t daysWithDischarge = 0;
    std::size_t givenDays = 0;
    const auto walks = walkWaterYear(records);
    for (std::size_t m = 0; m < walks.size(); ++m)
        for (std::size_t d = 0; d < walks[m].days; ++d) {
            const DayRecord& day = dayRecordAt(records, walks[m].first + d);
            const DayDischarge q = dayDischarge(day, tables);
            // A level the covering table cannot rate is a missing day, as a discharge of 0 is.
            const bool unrated =
                !q.discharge && !sourceIsDischarge(day.source) && findRatingPeriod(tables, day.date).has_value();
            if (!q.discharge && !unrated)
                continue;
            if (unrated || *q.discharge == 0.0) {
                year.incomplete = true;
                return year;
            }
            year.incomplete = false;
            sums[m] += *q.discharge;
            ++daysWithDischarge;
            givenDays += sourceIsDischarge(day.source) ? 1 : 0;
        }
    for (std::size_t m = 0; m < walks.size(); ++m)
        year.mean[m] = sums[m] / static_cast<double>(walks[m].days);
    year.derived = 2 * givenDays > daysWithDischarge;
    return year;
}

bool StationYears::hasYear(std::string_view year) const {
    return std::find(years.begin(), years.end(), year) != years.end();
}

bool StationYears::hasDerivedYear(std::string_view year) const {
    return std::find(derivedYears.begin(), derivedYears.end(), year) != derivedYears.end();
}

void StationYears::addYear(const fs::path& flowFile, const YearMonthlyMeans& year) {
    if (year.incomplete) {
        incompleteFiles.push_back(flowFile);
        return;
    }
    if (year.derived) {
        derivedYears.push_back(utf8Left(flowFile.filename().string(), 4));
        return;
    }
    years.push_back(utf8Left(flowFile.filename().string(), 4));
    means.push_back(year.mean);
}

std::optional<CorrelationFit> correlate(const StationYears& target, const StationYears& reference) {
    double sx = 0.0, sxx = 0.0, sy = 0.0, syy = 0.0, sxy = 0.0;
    int n = 0;
    for (std::size_t t = 0; t < target.years.size(); ++t)
        for (std::size_t r = 0; r < reference.years.size(); ++r) {
            if (target.years[t] != reference.years[r])
                continue;
            ++n;
            for (std::size_t m = 0; m < 12; ++m) {
                const double x = target.means[t][m];
                const double y = reference.means[r][m];
                sx += x;
                sxx += x * x;
                sy += y;
                syy += y * y;
                sxy += x * y;
            }
        }
    if (n == 0 || sx == 0.0)
        return std::nullopt;
    const double count = 12.0 * n;
    const double meanX = sx / count;
    const double meanY = sy / count;
    const double spreadXY = sxy - count * meanX * meanY;
    const double spreadX = sxx - count * meanX * meanX;
    const double spreadY = syy - count * meanY * meanY;
    // Means that do not vary leave only rounding noise in the spread: no line then.
    constexpr double kNoise = 1e-12;
    if (!(spreadX > kNoise * sxx))
        return std::nullopt;

    CorrelationFit fit;
    fit.commonYears = n;
    fit.points = 12 * n;
    if (spreadY > kNoise * syy)
        fit.r = spreadXY / std::sqrt(spreadX * spreadY);
    fit.b = static_cast<float>(spreadXY / spreadX);
    fit.a = static_cast<float>(meanY - static_cast<double>(fit.b) * meanX);
    return fit;
}

bool isCorrelationCandidate(const CorrelationFit& fit) {
    return fit.commonYears >= 1 && fit.r && *fit.r >= kLowestCandidateR && *fit.r <= kHighestCandidateR;
}

std::string candidateLine(const CorrelationFit& fit, const StationYears& reference, const Locale& locale) {
    const long long completable = static_cast<long long>(reference.years.size()) - fit.commonYears;
    return "%" + formatNumber(100.0 * fit.r.value_or(0.0), "#0.000", locale) + " .." +
           utf8Mid(reference.lastFlowFile, 5, 6) + " nolu istasyonun ortak yıl sayisi " +
           std::to_string(fit.commonYears) + " yildir " + " tamamlayabileceği yilsayısı " +
           std::to_string(completable);
}

std::string fitText(const CorrelationFit& fit, const Locale& locale) {
    return locale.numberText32(fit.b) + " ----  " + locale.numberText32(fit.a);
}

std::string incompleteYearLine(std::string_view windowsPath) {
    return std::string(windowsPath) + "  istasyonun su yilinda eksik data";
}

std::string scanningText(std::string_view windowsStationDir, std::string_view flowFileName) {
    return " Taranan..  " + std::string(windowsStationDir) + "\\" + std::string(flowFileName);
}

std::string flowFileOfYear(std::string_view year, std::string_view likeFlowFile) {
    return std::string(year) + utf8Mid(likeFlowFile, 4, std::string_view::npos);
}

std::string completionSource(std::string_view candidateLineText, std::string_view referenceFlowFile) {
    std::string tag = utf8Left("K " + utf8Left(candidateLineText, 3) + "_" +
                                   utf8Mid(referenceFlowFile, 5, std::string_view::npos),
                               DayRecord::kTextWidth);
    while (utf8Length(tag) < DayRecord::kTextWidth)
        tag += ' ';
    return tag;
}

std::string completionMeasuredDaysQuestion(std::size_t measuredDays) {
    return "Tamamlanacak su yılında ölçülmüş " + std::to_string(measuredDays) +
           " gün var; korelasyonla hesaplanan değerler bu günlerin yerine yazılacak. Değiştirilsin mi?";
}

CompletionOutcome completeYear(const StationYears& target, std::string_view targetFlowFile,
                               const StationYears& reference, const CorrelationFit& fit,
                               std::string_view candidateLineText, std::string_view year,
                               MeasuredDays measuredDays) {
    using Status = CompletionOutcome::Status;
    CompletionOutcome outcome;
    outcome.targetFile = resolveCaseInsensitive(target.stationDir / flowFileOfYear(year, targetFlowFile));
    if (target.hasYear(year) || target.hasDerivedYear(year)) {
        outcome.status = Status::AlreadyComplete;
        return outcome;
    }
    if (!reference.hasYear(year)) {
        outcome.status = Status::NotReferenceYear;
        return outcome;
    }
    if (fit.b == 0.0F || !std::isfinite(fit.b) || !std::isfinite(fit.a)) {
        outcome.status = Status::LineNotInvertible;
        return outcome;
    }
    const fs::path referenceFile =
        resolveCaseInsensitive(reference.stationDir / flowFileOfYear(year, reference.lastFlowFile));
    const std::optional<Bytes> referenceBytes = readFileBytes(referenceFile);
    if (!referenceBytes) {
        outcome.status = Status::NoReferenceFile;
        return outcome;
    }
    const std::vector<DayRecord> referenceDays = parseWaterYearFile(*referenceBytes);

    Bytes targetBytes;
    if (fileExists(outcome.targetFile)) {
        std::optional<Bytes> bytes = readFileBytes(outcome.targetFile);
        if (!bytes)
            throw FileError("cannot read " + outcome.targetFile.string());
        targetBytes = std::move(*bytes);
    }
    const std::vector<DayRecord> targetDays = parseWaterYearFile(targetBytes);

    const HqTableSet referenceTables = loadHqTableSet(reference.stationDir);
    const std::string source = completionSource(candidateLineText, reference.lastFlowFile);
    const double a = fit.a;
    const double b = fit.b;
    const std::size_t last = std::min(kWaterYearRecords, referenceDays.size());
    std::map<std::size_t, DayRecord> changed;
    for (std::size_t k = 1; k <= last; ++k) {
        const DayRecord& referenceDay = referenceDays[k - 1];
        DayRecord day = dayRecordAt(targetDays, k);
        if (day.meanValue == 0.0F) {
            const DayDischarge q = dayDischarge(referenceDay, referenceTables);
            if (q.discharge) {
                outcome.measuredDays += isMeasuredSource(day.source) ? 1 : 0;
                day.meanValue = static_cast<float>(std::floor(10.0 * (*q.discharge - a) / b) / 10.0);
                day.source = source;
                ++outcome.filledDays;
            } else {
                ++outcome.uncoveredDays;
            }
        }
        day.date = referenceDay.date;
        if (k > targetDays.size() || !(day == targetDays[k - 1]))
            changed.emplace(k, std::move(day));
    }
    if (outcome.measuredDays > 0 && measuredDays == MeasuredDays::Keep) {
        outcome.status = Status::MeasuredDaysKept;
        return outcome;
    }
    // A new target file gets its 366 days even when the reference file is shorter.
    for (std::size_t k = last + 1; targetDays.empty() && last > 0 && k <= kWaterYearRecords; ++k) {
        DayRecord day;
        day.date = referenceDays.front().date.plusDays(static_cast<long long>(k - 1));
        changed.emplace(k, std::move(day));
    }
    writeDayRecords(outcome.targetFile, changed);
    return outcome;
}

} // namespace korvel
