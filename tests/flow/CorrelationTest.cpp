#include "flow/Correlation.h"

#include "YearFixtures.h"
#include "common/ScratchDirectory.h"
#include "flow/CandidateSearch.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// ---- hand-made monthly means ---------------------------------------------------------------

StationYears stationWith(std::vector<std::string> years, std::vector<std::array<double, 12>> means,
                         std::string lastFile = "2005_01-002.ard") {
    StationYears s;
    s.years = std::move(years);
    s.means = std::move(means);
    s.lastFlowFile = std::move(lastFile);
    return s;
}

struct PlainFit {
    double r, b, a;
};

// Pearson's r and the least-squares line from the deviations about the means (two passes),
// independent of the sums the program accumulates.
PlainFit twoPassFit(const std::vector<double>& x, const std::vector<double>& y) {
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= static_cast<double>(x.size());
    my /= static_cast<double>(y.size());
    double dxy = 0, dxx = 0, dyy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        dxy += (x[i] - mx) * (y[i] - my);
        dxx += (x[i] - mx) * (x[i] - mx);
        dyy += (y[i] - my) * (y[i] - my);
    }
    const double b = dxy / dxx;
    return {dxy / std::sqrt(dxx * dyy), b, my - b * mx};
}

double targetMean(int year, int m) {
    return 10.0 + 4.0 * m + (year - 2000);
}
double referenceMean(int year, int m) {
    return 3.0 * targetMean(year, m) + 5.0 + ((m % 3) - 1) * 6.0;
}

std::array<double, 12> monthly(int year, double (*f)(int, int)) {
    std::array<double, 12> means{};
    for (int m = 0; m < 12; ++m)
        means[static_cast<std::size_t>(m)] = f(year, m);
    return means;
}

// ---- a data root of stations ---------------------------------------------------------------

// Target station 01-001: complete years 2001 and 2002 (level days read 1:1 through its rating
// table), 2003 incomplete by one day without data. Reference station 01-002: the same years
// plus 2004, following the target.
struct DataRoot {
    ScratchDirectory scratch;
    fs::path root = scratch / "korvel2000";
    fs::path target = root / "Ankara" / "01" / "01-001";
    fs::path reference = root / "Ankara" / "01" / "01-002";
    fs::path opposite = root / "Konya" / "05" / "05-001";
    fs::path empty = root / "Konya" / "05" / "05-002";

    static std::vector<DayRecord> monthlyYear(int year, double (*f)(int, int)) {
        return waterYearDays(year, [&](OleDate d) {
            const int m = (d.month() + 2) % 12; // October = 0
            return levelDay(d, static_cast<float>(f(year, m)));
        });
    }

    DataRoot() {
        for (const auto& dir : {target, reference, opposite, empty})
            fs::create_directories(dir);
        for (int year : {2001, 2002}) {
            writeYear(target / waterYearFileName(year, "01-001"), monthlyYear(year, targetMean));
            writeYear(reference / waterYearFileName(year, "01-002"), monthlyYear(year, referenceMean));
            writeYear(opposite / waterYearFileName(year, "05-001"),
                      monthlyYear(year, [](int y, int m) { return 200.0 - targetMean(y, m); }));
        }
        auto gap = monthlyYear(2003, targetMean);
        gap[45] = DayRecord(); // 15 November 2002: no data
        gap[45].date = day(2002, 11, 15);
        writeYear(target / waterYearFileName(2003, "01-001"), gap);
        const HqTable oneToOne = linearTable(1.0F, day(2000, 10, 1), day(2003, 9, 30));
        writeHqTable(target / "01_01-001.HQ", oneToOne);
        writeHqTable(reference / "02_01-002.HQ", linearTable(1.0F, day(2000, 10, 1), day(2002, 9, 30)));
        writeHqTable(opposite / "01_05-001.HQ", oneToOne);

        // The reference's 2003 and 2004 are level days through its rating table, which ends on
        // 20 September 2004; one January day of 2004 was given as a discharge.
        writeHqTable(reference / "01_01-002.HQ", linearTable(2.0F, day(2002, 10, 1), day(2004, 9, 20)));
        for (int year : {2003, 2004}) {
            auto days = waterYearDays(
                year, [](OleDate d) { return levelDay(d, 150.0F + static_cast<float>(d.day())); });
            if (year == 2004)
                days[101] = dischargeDay(day(2004, 1, 10), 123.0F);
            writeYear(reference / waterYearFileName(year, "01-002"), days);
        }
    }
};

} // namespace

// ---- the scan of one year ------------------------------------------------------------------

TEST(ScanWaterYear, MonthlyMeansOverEveryDayOfTheMonth) {
    HqTableSet tables;
    tables.entries.push_back({"01_x.HQ", linearTable(2.0F, day(2003, 10, 1), day(2003, 10, 20))});
    // October: 20 level days of 100 mm (200 m3/s) and 11 days outside the table.
    const auto days = waterYearDays(2004, [](OleDate d) {
        return d.month() == 10 ? levelDay(d, 100.0F) : dischargeDay(d, static_cast<float>(d.month()));
    });
    const YearMonthlyMeans year = scanWaterYear(days, tables);
    EXPECT_FALSE(year.incomplete);
    EXPECT_DOUBLE_EQ(year.mean[0], 20 * 200.0 / 31);
    EXPECT_DOUBLE_EQ(year.mean[1], 11.0);
    EXPECT_DOUBLE_EQ(year.mean[4], 2.0); // February of a leap year, 29 days
    EXPECT_DOUBLE_EQ(year.mean[11], 9.0);
}

TEST(ScanWaterYear, IncompleteRules) {
    auto days = waterYearDays(2004, [](OleDate d) { return dischargeDay(d, 5.0F); });
    EXPECT_FALSE(scanWaterYear(days, {}).incomplete);

    // One day of exactly 0, even late in the year after many good days.
    days[300].meanValue = 0.0F;
    EXPECT_TRUE(scanWaterYear(days, {}).incomplete);

    // No day with a discharge: every level day outside the table's periods.
    HqTableSet tables;
    tables.entries.push_back({"01_x.HQ", linearTable(2.0F, day(1990, 1, 1), day(1990, 12, 31))});
    const auto levels = waterYearDays(2004, [](OleDate d) { return levelDay(d, 100.0F); });
    EXPECT_TRUE(scanWaterYear(levels, tables).incomplete);
    EXPECT_TRUE(scanWaterYear({}, tables).incomplete);

    // A level of 0 on a table whose level 0 has discharge 0 is a missing day.
    auto withMissing = levels;
    tables.entries.front().table = linearTable(2.0F, day(2003, 10, 1), day(2004, 9, 30));
    EXPECT_FALSE(scanWaterYear(withMissing, tables).incomplete);
    withMissing[100] = DayRecord{};
    withMissing[100].date = levels[100].date;
    EXPECT_TRUE(scanWaterYear(withMissing, tables).incomplete);
}

// More than half of the days with a discharge given as "G"/"K": a derived year.
TEST(ScanWaterYear, YearsMostlyOfGivenDischargesAreDerived) {
    HqTableSet tables;
    tables.entries.push_back({"01_x.HQ", linearTable(2.0F, day(2003, 10, 1), day(2004, 9, 30))});
    auto days = waterYearDays(2004, [](OleDate d) { return levelDay(d, 100.0F); });
    for (std::size_t k = 0; k < 183; ++k)
        days[k] = dischargeDay(days[k].date, 7.0F);
    EXPECT_FALSE(scanWaterYear(days, tables).derived); // 183 of 366
    days[183] = dischargeDay(days[183].date, 7.0F);
    const YearMonthlyMeans derived = scanWaterYear(days, tables);
    EXPECT_FALSE(derived.incomplete);
    EXPECT_TRUE(derived.derived);

    StationYears station;
    station.addYear("2004_01-001.ard", derived);
    EXPECT_TRUE(station.years.empty());
    EXPECT_TRUE(station.incompleteFiles.empty());
    EXPECT_TRUE(station.hasDerivedYear("2004"));
}

// ---- the fit -------------------------------------------------------------------------------

TEST(Correlate, HandComputedLine) {
    // One common year, y = 2x + 1 exactly plus 1 and -1 in two months.
    std::array<double, 12> x{}, y{};
    for (int m = 0; m < 12; ++m) {
        x[static_cast<std::size_t>(m)] = m + 1;
        y[static_cast<std::size_t>(m)] = 2.0 * (m + 1) + 1.0;
    }
    y[0] += 1.0;
    y[11] -= 1.0;
    const auto fit = correlate(stationWith({"2001"}, {x}), stationWith({"2001"}, {y}));
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->commonYears, 1);
    EXPECT_EQ(fit->points, 12);
    // Mean x 6.5, mean y 14; about them Sxx = 143, Sxy = 2 x 143 - 5.5 - 5.5 = 275 and
    // Syy = 4 x 143 - 4 x 11 + 2 = 530, so b = 275 / 143, a = 14 - 6.5 b, r = 275 / sqrt(143 x 530).
    EXPECT_FLOAT_EQ(fit->b, static_cast<float>(275.0 / 143.0));
    EXPECT_FLOAT_EQ(fit->a, static_cast<float>(14.0 - 275.0 / 143.0 * 6.5));
    EXPECT_NEAR(*fit->r, 275.0 / std::sqrt(143.0 * 530.0), 1e-12);
}

TEST(Correlate, AgreesWithTheTwoPassFormulaOverTheCommonYearsOnly) {
    const auto target =
        stationWith({"2001", "2002", "2003"},
                    {monthly(2001, targetMean), monthly(2002, targetMean), monthly(2003, targetMean)});
    const auto reference = stationWith({"2002", "2003", "2004", "2005"},
                                       {monthly(2002, referenceMean), monthly(2003, referenceMean),
                                        monthly(2004, referenceMean), monthly(2005, referenceMean)});
    const auto fit = correlate(target, reference);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->commonYears, 2);
    EXPECT_EQ(fit->points, 24);

    std::vector<double> x, y;
    for (int year : {2002, 2003})
        for (int m = 0; m < 12; ++m) {
            x.push_back(targetMean(year, m));
            y.push_back(referenceMean(year, m));
        }
    ASSERT_EQ(x.size(), 24u);
    const PlainFit plain = twoPassFit(x, y);
    EXPECT_NEAR(*fit->r, plain.r, 1e-12);
    EXPECT_FLOAT_EQ(fit->b, static_cast<float>(plain.b));
    EXPECT_NEAR(fit->a, plain.a, 1e-4);
    EXPECT_TRUE(isCorrelationCandidate(*fit));
}

TEST(Correlate, NothingWithoutCommonYearsOrWithZeroTargetFlows) {
    const auto target = stationWith({"2001"}, {monthly(2001, targetMean)});
    EXPECT_FALSE(correlate(target, stationWith({"2002"}, {monthly(2002, referenceMean)})));
    EXPECT_FALSE(correlate(stationWith({"2001"}, {std::array<double, 12>{}}),
                           stationWith({"2001"}, {monthly(2001, referenceMean)})));
    // Target means that do not vary give no line.
    std::array<double, 12> flat{};
    flat.fill(4.0);
    EXPECT_FALSE(
        correlate(stationWith({"2001"}, {flat}), stationWith({"2001"}, {monthly(2001, referenceMean)})));
    // Reference means that do not vary: a line of slope 0 but no r, never a candidate.
    const auto level = correlate(target, stationWith({"2001"}, {flat}));
    ASSERT_TRUE(level);
    EXPECT_FALSE(level->r);
    EXPECT_EQ(level->b, 0.0F);
    EXPECT_FALSE(isCorrelationCandidate(*level));
}

TEST(Correlate, CandidateBounds) {
    CorrelationFit fit;
    fit.commonYears = 1;
    for (const auto& [r, listed] : std::vector<std::pair<double, bool>>{
             {0.8499, false}, {0.85, true}, {0.9999, true}, {0.99991, false}, {1.0, false}, {-0.9, false}}) {
        fit.r = r;
        EXPECT_EQ(isCorrelationCandidate(fit), listed) << r;
    }
    fit.commonYears = 0;
    fit.r = 0.9;
    EXPECT_FALSE(isCorrelationCandidate(fit));
}

TEST(Correlate, CandidateLineAndFitText) {
    CorrelationFit fit;
    fit.commonYears = 2;
    fit.r = 0.91236;
    fit.b = 2.5F;
    fit.a = -0.125F;
    const auto reference = stationWith({"2000", "2001", "2002", "2003", "2004"}, {}, "2004_01-002.ard");
    EXPECT_EQ(candidateLine(fit, reference, Locale::turkish()),
              "%91,236 ..01-002 nolu istasyonun ortak yıl sayisi 2 yildir  tamamlayabileceği yilsayısı 3");
    EXPECT_EQ(candidateLine(fit, reference, Locale::american()).substr(0, 8), "%91.236 ");
    EXPECT_EQ(fitText(fit, Locale::turkish()), "2,5 ----  -0,125");
    EXPECT_EQ(completionSource("%91,236 ..01-002", "2004_01-002.ard"), "K %91_01-002");
    EXPECT_EQ(completionSource("%91", "2004_7.ard"), "K %91_7.ard ");
    EXPECT_EQ(flowFileOfYear("2002", "2004_01-001.ard"), "2002_01-001.ard");
    EXPECT_EQ(incompleteYearLine("c:\\korvel2000\\A\\01\\01-001\\2003_01-001.ard"),
              "c:\\korvel2000\\A\\01\\01-001\\2003_01-001.ard  istasyonun su yilinda eksik data");
    EXPECT_EQ(scanningText("c:\\korvel2000\\A\\01\\01-001", "2003_01-001.ard"),
              " Taranan..  c:\\korvel2000\\A\\01\\01-001\\2003_01-001.ard");
}

// ---- scanning a data root ------------------------------------------------------------------

TEST(CandidateSearchOverTheDataRoot, ListsTheCorrelatingStationButNeverTheTargetItself) {
    DataRoot data;
    const StationYears target = scanStationYears(data.target);
    EXPECT_EQ(target.years, (std::vector<std::string>{"2001", "2002"}));
    ASSERT_EQ(target.incompleteFiles.size(), 1u);
    EXPECT_EQ(target.incompleteFiles.front().filename(), "2003_01-001.ard");
    EXPECT_EQ(target.lastFlowFile, "2003_01-001.ard");

    EXPECT_EQ(listStationDirectories(data.root),
              (std::vector<fs::path>{data.target, data.reference, data.opposite, data.empty}));

    CandidateSearch search(data.root, target, Locale::turkish());
    EXPECT_EQ(search.currentStation(), data.target);
    EXPECT_EQ(search.nextFile(), "2001_01-001.ard");
    std::vector<std::string> seen;
    while (!search.finished()) {
        seen.push_back(search.nextFile());
        search.step();
    }
    EXPECT_EQ(search.filesScanned(), 3u + 4u + 2u);
    EXPECT_EQ(search.stationsScanned(), 4u);
    // Nine files, each read once (one of them a leap year), and four rating tables.
    EXPECT_EQ(search.bytesRead(), (8u * 365u + 366u) * 128u + 4u * 5758u);
    ASSERT_EQ(search.candidates().size(), 1u);
    const Candidate& candidate = search.candidates().front();
    EXPECT_EQ(candidate.stationDir, data.reference);
    EXPECT_EQ(candidate.fit.commonYears, 2);
    EXPECT_GT(*candidate.fit.r, 0.85);
    EXPECT_LT(*candidate.fit.r, 0.9999);
    EXPECT_EQ(candidate.line.substr(candidate.line.find(" .."), 53),
              " ..01-002 nolu istasyonun ortak yıl sayisi 2 yildir ");
    EXPECT_NE(candidate.line.find("tamamlayabileceği yilsayısı 2"), std::string::npos);
    // The target's own incomplete year was listed with the target, not again by the search.
    EXPECT_TRUE(search.incompleteFiles().empty());
}

// ---- completing a year ---------------------------------------------------------------------

class CompleteYear : public ::testing::Test {
protected:
    void SetUp() override {
        target = scanStationYears(data.target);
        reference = scanStationYears(data.reference);
        const auto found = correlate(target, reference);
        ASSERT_TRUE(found);
        fit = *found;
        line = candidateLine(fit, reference, Locale::turkish());
        tag = completionSource(line, "2004_01-002.ard");
        ASSERT_EQ(tag.substr(0, 5), "K " + line.substr(0, 3));
    }

    float expected(double q) const {
        return static_cast<float>(std::floor(10.0 * (q - fit.a) / fit.b) / 10.0);
    }

    DataRoot data;
    StationYears target;
    StationYears reference;
    CorrelationFit fit;
    std::string line;
    std::string tag;
};

TEST_F(CompleteYear, OnlyDaysWithoutFlowAreFilledAndTheOthersKeepTheirTags) {
    const fs::path file = data.target / "2003_01-001.ard";
    const auto before = readWaterYearFile(file);
    const auto outcome =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2003", MeasuredDays::Keep);
    ASSERT_EQ(outcome.status, CompletionOutcome::Status::Completed);
    EXPECT_EQ(outcome.targetFile, file);
    EXPECT_EQ(outcome.filledDays, 1u);
    const auto after = readWaterYearFile(file);
    ASSERT_EQ(after.size(), 365u);
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (k == 45)
            continue;
        ASSERT_EQ(after[k], before[k]) << "record " << k + 1;
    }
    // 15 November 2002: the reference's level 165 gives 330 m3/s.
    EXPECT_EQ(after[45].meanValue, expected(330.0));
    EXPECT_EQ(after[45].source, tag);
    EXPECT_EQ(after[45].date, day(2002, 11, 15));
    EXPECT_EQ(after[45].rawDataFile, before[45].rawDataFile);
}

TEST_F(CompleteYear, MissingTargetFileIsCreatedWithTheReferenceDates) {
    const fs::path file = data.target / "2004_01-001.ard";
    ASSERT_FALSE(fs::exists(file));
    const auto outcome =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2004", MeasuredDays::Keep);
    ASSERT_EQ(outcome.status, CompletionOutcome::Status::Completed);
    const auto days = readWaterYearFile(file);
    ASSERT_EQ(days.size(), 366u);
    const auto referenceDays = readWaterYearFile(data.reference / "2004_01-002.ard");
    for (std::size_t k = 0; k < days.size(); ++k)
        ASSERT_EQ(days[k].date, referenceDays[k].date);
    EXPECT_EQ(days[0].meanValue, expected(2.0 * 151));
    EXPECT_EQ(days[0].source, tag);
    // A reference day given as a discharge is taken as it stands, not looked up as a level.
    EXPECT_EQ(days[101].meanValue, expected(123.0));
    // Days after the reference table's last period keep their empty values.
    EXPECT_EQ(outcome.uncoveredDays, 10u);
    EXPECT_EQ(days[365].meanValue, 0.0F);
    EXPECT_EQ(days[365].source, std::string(12, '\0'));
    EXPECT_EQ(days[365].date, day(2004, 9, 30));
    EXPECT_EQ(outcome.filledDays, 356u);
}

TEST_F(CompleteYear, MeasuredDaysWithoutAMeanAreFilledOnlyWithLeave) {
    const fs::path file = data.target / "2003_01-001.ard";
    auto days = readWaterYearFile(file);
    days[60].meanValue = 0.0F; // a logger day of 30 November 2002 without its mean
    writeYear(file, days);
    const Bytes before = *readFileBytes(file);

    const auto kept =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2003", MeasuredDays::Keep);
    EXPECT_EQ(kept.status, CompletionOutcome::Status::MeasuredDaysKept);
    EXPECT_EQ(kept.measuredDays, 1u);
    EXPECT_EQ(*readFileBytes(file), before);
    EXPECT_EQ(completionMeasuredDaysQuestion(1),
              "Tamamlanacak su yılında ölçülmüş 1 gün var; korelasyonla hesaplanan değerler bu günlerin "
              "yerine yazılacak. Değiştirilsin mi?");

    const auto replaced =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2003", MeasuredDays::Replace);
    ASSERT_EQ(replaced.status, CompletionOutcome::Status::Completed);
    EXPECT_EQ(replaced.filledDays, 2u);
    EXPECT_EQ(readWaterYearFile(file)[60].source, tag);
}

// The reference's 2003 file has the 365 days of its year; the target's new file still has 366.
TEST_F(CompleteYear, NewTargetFileHas366Records) {
    const fs::path file = data.target / "2003_01-001.ard";
    fs::remove(file);
    const auto outcome =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2003", MeasuredDays::Keep);
    ASSERT_EQ(outcome.status, CompletionOutcome::Status::Completed);
    const auto days = readWaterYearFile(file);
    ASSERT_EQ(days.size(), 366u);
    EXPECT_EQ(days[364].date, day(2003, 9, 30));
    EXPECT_EQ(days[365].date, day(2003, 10, 1));
    EXPECT_TRUE(isBlankSource(days[365].source));
}

// A year made by the completion is no observed year: scanned again, the target neither pairs it
// with its source nor completes it a second time.
TEST_F(CompleteYear, CompletedYearIsNoObservedYearOfLaterScans) {
    ASSERT_EQ(
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2004", MeasuredDays::Keep).status,
        CompletionOutcome::Status::Completed);
    const StationYears again = scanStationYears(data.target);
    EXPECT_EQ(again.years, (std::vector<std::string>{"2001", "2002"}));
    EXPECT_EQ(again.derivedYears, std::vector<std::string>{"2004"});
    EXPECT_EQ(correlate(again, reference)->commonYears, 2);
    EXPECT_EQ(completeYear(again, "2001_01-001.ard", reference, fit, line, "2004", MeasuredDays::Keep).status,
              CompletionOutcome::Status::AlreadyComplete);
}

TEST_F(CompleteYear, RefusalsWriteNothing) {
    EXPECT_EQ(
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2001", MeasuredDays::Keep).status,
        CompletionOutcome::Status::AlreadyComplete);
    EXPECT_EQ(
        completeYear(target, "2001_01-001.ard", reference, fit, line, "1999", MeasuredDays::Keep).status,
        CompletionOutcome::Status::NotReferenceYear);
    CorrelationFit flat = fit;
    flat.b = 0.0F;
    EXPECT_EQ(
        completeYear(target, "2001_01-001.ard", reference, flat, line, "2004", MeasuredDays::Keep).status,
        CompletionOutcome::Status::LineNotInvertible);
    fs::remove(data.reference / "2004_01-002.ard");
    EXPECT_EQ(
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2004", MeasuredDays::Keep).status,
        CompletionOutcome::Status::NoReferenceFile);
    EXPECT_FALSE(fs::exists(data.target / "2004_01-001.ard"));
}

TEST_F(CompleteYear, RecordsTheReferenceLacksAreLeftAlone) {
    // A reference file cut short after 100 records fills only those.
    auto days = readWaterYearFile(data.reference / "2003_01-002.ard");
    days.resize(100);
    writeYear(data.reference / "2003_01-002.ard", days);
    auto gappy = readWaterYearFile(data.target / "2003_01-001.ard");
    gappy[200].meanValue = 0.0F;
    writeYear(data.target / "2003_01-001.ard", gappy);
    const auto outcome =
        completeYear(target, "2001_01-001.ard", reference, fit, line, "2003", MeasuredDays::Keep);
    EXPECT_EQ(outcome.filledDays, 1u);
    const auto after = readWaterYearFile(data.target / "2003_01-001.ard");
    EXPECT_EQ(after[200], gappy[200]);
    EXPECT_EQ(after[45].source, tag);
}
