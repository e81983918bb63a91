#pragma once

#include "core/OleDate.h"
#include "rain/FrequencyFits.h"
#include "rain/RainYearAnalysis.h"
#include "store/YearFiles.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Intensity-duration-frequency of a rain gauge: the annual maxima of every duration over the
// station's rainfall years, a Gumbel and a GEV fitted to each duration by L-moments, and the
// depths and intensities of the usual return periods with bootstrap intervals.

inline constexpr std::array<int, 6> kIdfReturnPeriods{2, 5, 10, 25, 50, 100};
inline constexpr std::size_t kIdfMinimumYears = 5;
inline constexpr int kIdfResamples = 1000;

// Years by durations of annual maximum depths (mm). A cell without a value stays empty.
struct AnnualMaxima {
    std::vector<int> durations;                              // minutes
    std::vector<int> years;                                  // water years, by the year each ends in
    std::vector<std::vector<std::optional<double>>> depths;  // [year][duration]
    std::vector<std::vector<std::optional<OleDate>>> starts; // when each maximum began, if known
};

// A rainfall year the maxima leave out, and why.
using LeftOutRainYear = SkippedYearFile;

// A year counts when its records carry the dates of more than half of its days and it has
// rain at all: a file made for the year but never filled (or filled for a few weeks only)
// would pass off dry maxima as measured ones.
std::optional<std::string> rainYearShortfall(const std::vector<RainDayRecord>& fileRecords,
                                             const RainYearAnalysis& analysis, int endYear);

// One row of maxima from a year's one-year analysis: the largest window of each of its
// durations, in mm, with the start of the window.
struct RainYearMaxima {
    std::vector<std::optional<double>> depths;
    std::vector<std::optional<OleDate>> starts;
};
RainYearMaxima rainYearMaxima(const RainYearAnalysis& analysis);

struct StationRainMaxima {
    AnnualMaxima maxima;
    std::vector<LeftOutRainYear> leftOut;
};
// Every rainfall-year file of the station directory, in year order, each analysed as the
// one-year analysis does (nothing is written back). `progress` gets the files done and the
// file count.
using IdfProgress = std::function<void(int done, int total)>;
StationRainMaxima collectRainMaxima(const std::filesystem::path& stationDir,
                                    const IdfProgress& progress = {});

// An annual-maxima table typed by the user: a heading row (any first cell, then the durations
// in minutes), then one row per year: the water year and a depth in mm per duration, an empty
// cell for none. Fields separated by ";", "," or tabs; either "." or "," as the decimal mark
// when the fields are not separated by commas. The message says what is wrong otherwise.
struct MaximaCsv {
    std::optional<AnnualMaxima> maxima;
    std::string error;
};
MaximaCsv parseMaximaCsv(std::string_view text);

struct DurationFits {
    std::size_t sampleSize = 0;
    std::optional<GumbelFit> gumbel;
    std::optional<GevFit> gev;
};

// The quantiles of one distribution: [duration][return period].
struct IdfQuantiles {
    std::vector<std::vector<std::optional<double>>> depth;
    std::vector<std::vector<std::optional<QuantileInterval>>> interval;
};

struct IdfAnalysis {
    AnnualMaxima maxima;
    std::vector<int> returnPeriods;
    int resamples = 0;
    std::vector<DurationFits> fits; // per duration
    IdfQuantiles gumbel;
    IdfQuantiles gev;
    const IdfQuantiles& quantiles(ExtremeDistribution distribution) const {
        return distribution == ExtremeDistribution::Gumbel ? gumbel : gev;
    }
};

// The fits and quantiles of every duration with at least kIdfMinimumYears values; the
// intervals from `resamples` bootstrap samples with a fixed seed per duration and
// distribution, so a run repeats. `progress` gets the durations done and their count.
IdfAnalysis computeIdf(const AnnualMaxima& maxima, int resamples = kIdfResamples,
                       const IdfProgress& progress = {});

// A depth over a duration as an intensity in mm/h.
double intensityOf(double depthMm, int durationMinutes);

} // namespace korvel
