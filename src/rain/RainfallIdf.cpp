#include "rain/RainfallIdf.h"

#include "core/Cp1254.h"
#include "core/CsvText.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <utility>

namespace korvel {

namespace {

// The bootstrap seed of a duration and distribution: fixed, and independent of which other
// durations a table has.
constexpr std::uint64_t kBootstrapSeed = 0x4b6f7276656c3137ULL;

std::uint64_t bootstrapSeed(int durationMinutes, ExtremeDistribution distribution) {
    return kBootstrapSeed + static_cast<std::uint64_t>(durationMinutes) * 2U +
           (distribution == ExtremeDistribution::Gev ? 1U : 0U);
}

std::size_t daysOfWaterYear(int endYear) {
    return static_cast<std::size_t>(firstDayOfWaterYear(endYear + 1).dayNumber() -
                                    firstDayOfWaterYear(endYear).dayNumber());
}

// The whole text as a number, "." or "," as the decimal mark; nothing for anything else.
std::optional<double> plainNumber(std::string text, bool commaDecimal) {
    text = trimmed(text);
    if (commaDecimal)
        std::replace(text.begin(), text.end(), ',', '.');
    std::string_view number = text;
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    return wholeTextNumber<double>(number);
}

std::optional<int> wholeNumber(const std::string& text) {
    const auto value = plainNumber(text, false);
    if (!value || *value != std::floor(*value) || std::abs(*value) > 1e6)
        return std::nullopt;
    return static_cast<int>(*value);
}

char separatorOf(std::string_view text) {
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    if (firstLine.find(';') != std::string_view::npos)
        return ';';
    if (firstLine.find('\t') != std::string_view::npos)
        return '\t';
    return ',';
}

bool blankRow(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return trimmed(cell).empty(); });
}

MaximaCsv csvError(std::string message) {
    return MaximaCsv{std::nullopt, std::move(message)};
}

// Orders the durations and the years, keeping every value with its year and duration.
AnnualMaxima sortedMaxima(const AnnualMaxima& given) {
    std::vector<std::size_t> columns(given.durations.size());
    std::iota(columns.begin(), columns.end(), 0U);
    std::sort(columns.begin(), columns.end(),
              [&](std::size_t a, std::size_t b) { return given.durations[a] < given.durations[b]; });
    std::vector<std::size_t> rows(given.years.size());
    std::iota(rows.begin(), rows.end(), 0U);
    std::sort(rows.begin(), rows.end(),
              [&](std::size_t a, std::size_t b) { return given.years[a] < given.years[b]; });
    AnnualMaxima sorted;
    for (std::size_t c : columns)
        sorted.durations.push_back(given.durations[c]);
    for (std::size_t r : rows) {
        sorted.years.push_back(given.years[r]);
        std::vector<std::optional<double>> depths;
        std::vector<std::optional<OleDate>> starts;
        for (std::size_t c : columns) {
            depths.push_back(given.depths[r][c]);
            starts.push_back(given.starts[r][c]);
        }
        sorted.depths.push_back(std::move(depths));
        sorted.starts.push_back(std::move(starts));
    }
    return sorted;
}

IdfQuantiles emptyQuantiles(std::size_t durations, std::size_t periods) {
    IdfQuantiles q;
    q.depth.assign(durations, std::vector<std::optional<double>>(periods));
    q.interval.assign(durations, std::vector<std::optional<QuantileInterval>>(periods));
    return q;
}

void fillQuantiles(IdfQuantiles& target, std::size_t d, const ExtremeFit& fit, std::size_t sampleSize,
                   const std::vector<double>& probabilities, int resamples, int durationMinutes) {
    const auto intervals = bootstrapIntervals(fit, sampleSize, probabilities, resamples,
                                              bootstrapSeed(durationMinutes, fit.distribution));
    for (std::size_t t = 0; t < probabilities.size(); ++t) {
        target.depth[d][t] = fit.quantile(probabilities[t]);
        target.interval[d][t] = intervals[t];
    }
}

} // namespace

std::optional<std::string> rainYearShortfall(const std::vector<RainDayRecord>& fileRecords,
                                             const RainYearAnalysis& analysis, int endYear) {
    const OleDate first = firstDayOfWaterYear(endYear);
    const OleDate end = firstDayOfWaterYear(endYear + 1);
    std::set<long long> dated;
    for (std::size_t k = 0; k < fileRecords.size() && k < kRainYearRecords; ++k) {
        const OleDate day = fileRecords[k].dayDate;
        if (day >= first && day < end)
            dated.insert(day.dayNumber());
    }
    const std::size_t days = daysOfWaterYear(endYear);
    if (dated.size() * 2 <= days)
        return "yılın " + std::to_string(days) + " gününden yalnız " + std::to_string(dated.size()) +
               " günü kayıtlı";
    if (analysis.annualTenths == 0)
        return "yıl boyunca hiç yağış kaydı yok";
    return std::nullopt;
}

RainYearMaxima rainYearMaxima(const RainYearAnalysis& analysis) {
    RainYearMaxima row;
    for (const DurationMaximum& maximum : analysis.durations) {
        if (!maximum.found()) {
            row.depths.push_back(0.0);
            row.starts.push_back(std::nullopt);
            continue;
        }
        row.depths.push_back(maximum.tenths / 10.0);
        row.starts.push_back(OleDate(maximum.day.datePart().value() + maximum.startMinute / 1440.0));
    }
    return row;
}

StationRainMaxima collectRainMaxima(const std::filesystem::path& stationDir, const IdfProgress& progress) {
    StationRainMaxima result;
    AnnualMaxima& maxima = result.maxima;
    maxima.durations.assign(kRainDurations.begin(), kRainDurations.end());
    StationYearFiles years = stationYearFiles(stationDir, "*.yrd");
    result.leftOut = std::move(years.skipped);
    const int total = static_cast<int>(years.files.size());
    int done = 0;
    for (const YearFile& file : years.files) {
        if (progress)
            progress(done++, total);
        const std::optional<Bytes> bytes = readFileBytes(stationDir / file.name);
        if (!bytes) {
            result.leftOut.push_back({file.name, "dosya okunamadı"});
            continue;
        }
        const std::vector<RainDayRecord> records = parseRainYearFile(*bytes);
        const RainYearRun run = analyseRainYear(records, file.year);
        if (auto shortfall = rainYearShortfall(records, run.analysis, file.year)) {
            result.leftOut.push_back({file.name, std::move(*shortfall)});
            continue;
        }
        RainYearMaxima row = rainYearMaxima(run.analysis);
        maxima.years.push_back(file.year);
        maxima.depths.push_back(std::move(row.depths));
        maxima.starts.push_back(std::move(row.starts));
    }
    if (progress)
        progress(done, total);
    return result;
}

MaximaCsv parseMaximaCsv(std::string_view text) {
    const char separator = separatorOf(text);
    const bool commaDecimal = separator != ',';
    std::vector<std::vector<std::string>> rows = parseCsvText(text, separator);
    rows.erase(std::remove_if(rows.begin(), rows.end(), blankRow), rows.end());
    if (rows.empty())
        return csvError("tablo boş");
    AnnualMaxima maxima;
    const std::vector<std::string>& heading = rows.front();
    for (std::size_t c = 1; c < heading.size(); ++c) {
        const auto minutes = wholeNumber(heading[c]);
        if (!minutes || *minutes < 1 || *minutes > 1440 * 31)
            return csvError("başlık satırının " + std::to_string(c + 1) +
                            ". alanı dakika cinsinden bir süre değil: \"" + heading[c] + "\"");
        if (std::find(maxima.durations.begin(), maxima.durations.end(), *minutes) != maxima.durations.end())
            return csvError(std::to_string(*minutes) + " dakikalık süre iki kez var");
        maxima.durations.push_back(*minutes);
    }
    if (maxima.durations.empty())
        return csvError("başlık satırında süre yok");
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& row = rows[r];
        const std::string line = std::to_string(r + 1) + ". satır: ";
        if (row.size() > maxima.durations.size() + 1)
            return csvError(line + "başlıktakinden fazla alan var");
        const auto year = wholeNumber(row.front());
        if (!year || *year < 1 || *year > 9999)
            return csvError(line + "yıl değil: \"" + row.front() + "\"");
        if (std::find(maxima.years.begin(), maxima.years.end(), *year) != maxima.years.end())
            return csvError(line + std::to_string(*year) + " yılı iki kez var");
        std::vector<std::optional<double>> depths(maxima.durations.size());
        for (std::size_t c = 1; c < row.size(); ++c) {
            if (trimmed(row[c]).empty())
                continue;
            const auto depth = plainNumber(row[c], commaDecimal);
            if (!depth || *depth < 0.0)
                return csvError(line + "yağış yüksekliği değil: \"" + row[c] + "\"");
            depths[c - 1] = *depth;
        }
        maxima.years.push_back(*year);
        maxima.depths.push_back(std::move(depths));
        maxima.starts.emplace_back(maxima.durations.size());
    }
    return MaximaCsv{sortedMaxima(maxima), {}};
}

IdfAnalysis computeIdf(const AnnualMaxima& maxima, int resamples, const IdfProgress& progress) {
    IdfAnalysis idf;
    idf.maxima = maxima;
    idf.returnPeriods.assign(kIdfReturnPeriods.begin(), kIdfReturnPeriods.end());
    idf.resamples = resamples;
    std::vector<double> probabilities;
    for (int years : idf.returnPeriods)
        probabilities.push_back(probabilityOfReturnPeriod(years));
    const std::size_t durations = maxima.durations.size();
    idf.gumbel = emptyQuantiles(durations, probabilities.size());
    idf.gev = emptyQuantiles(durations, probabilities.size());
    idf.fits.resize(durations);
    for (std::size_t d = 0; d < durations; ++d) {
        if (progress)
            progress(static_cast<int>(d), static_cast<int>(durations));
        std::vector<double> sample;
        for (const auto& row : maxima.depths)
            if (d < row.size() && row[d])
                sample.push_back(*row[d]);
        DurationFits& fits = idf.fits[d];
        fits.sampleSize = sample.size();
        if (sample.size() < kIdfMinimumYears)
            continue;
        const int minutes = maxima.durations[d];
        if (const auto gumbel = fitExtreme(ExtremeDistribution::Gumbel, sample)) {
            fits.gumbel = GumbelFit{gumbel->parameters.location, gumbel->parameters.scale};
            fillQuantiles(idf.gumbel, d, *gumbel, sample.size(), probabilities, resamples, minutes);
        }
        if (const auto gev = fitExtreme(ExtremeDistribution::Gev, sample)) {
            fits.gev = gev->parameters;
            fillQuantiles(idf.gev, d, *gev, sample.size(), probabilities, resamples, minutes);
        }
    }
    if (progress)
        progress(static_cast<int>(durations), static_cast<int>(durations));
    return idf;
}

double intensityOf(double depthMm, int durationMinutes) {
    return depthMm * 60.0 / durationMinutes;
}

} // namespace korvel
