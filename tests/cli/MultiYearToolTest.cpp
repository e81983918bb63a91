#include "common/ToolRun.h"
#include "core/FileIO.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// The whole-record commands on one demo drive; none of them writes.
class MultiYearTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new ScratchDirectory;
        ASSERT_EQ(runTool({"demo", scratch_->path().string()}).code, 0);
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }
    static fs::path station(const std::string& number) {
        return scratch_->path() / "korvel2000" / "Ankara" / "01" / number;
    }
    static ToolRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--drive", scratch_->path().string(), "--locale", "tr_TR"});
        return runTool(args);
    }
    static nlohmann::json json(std::vector<std::string> args) {
        args.insert(args.begin(), "--json");
        const ToolRun r = run(std::move(args));
        EXPECT_EQ(r.code, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }

    static ScratchDirectory* scratch_;
};

ScratchDirectory* MultiYearTool::scratch_ = nullptr;

TEST_F(MultiYearTool, IdfOfADemoGaugeCoversTwelveYearsAndEveryDuration) {
    const auto json = this->json({"rain", "idf", station("01-003").string()});
    EXPECT_EQ(json["caption"], "01-003    nolu istasyonun yağış şiddet-süre-tekerrür analizi");
    const auto& idf = json["idf"];
    EXPECT_EQ(idf["durations"], nlohmann::json({1, 5, 10, 15, 20, 30, 45, 60, 90, 120, 360, 1440}));
    ASSERT_EQ(idf["years"].size(), 12u);
    EXPECT_EQ(idf["years"][0], 1993);
    EXPECT_EQ(idf["years"][11], 2004);
    EXPECT_EQ(idf["returnPeriods"], nlohmann::json({2, 5, 10, 25, 50, 100}));
    ASSERT_EQ(idf["maxima"].size(), 12u);
    ASSERT_EQ(idf["maxima"][0].size(), 12u);
    for (const char* distribution : {"gumbel", "gev"}) {
        ASSERT_EQ(idf["depth"][distribution].size(), 12u);
        for (std::size_t d = 0; d < 12; ++d) {
            const auto& depths = idf["depth"][distribution][d];
            const auto& intensities = idf["intensity"][distribution][d];
            const auto& intervals = idf["interval90"][distribution][d];
            const double minutes = idf["durations"][d];
            for (std::size_t t = 0; t < 6; ++t) {
                if (t > 0) {
                    EXPECT_GT(depths[t].get<double>(), depths[t - 1].get<double>());
                }
                EXPECT_NEAR(intensities[t].get<double>(), depths[t].get<double>() * 60.0 / minutes, 1e-9);
                EXPECT_LE(intervals[t][0].get<double>(), depths[t].get<double>());
                EXPECT_GE(intervals[t][1].get<double>(), depths[t].get<double>());
            }
        }
    }
    EXPECT_EQ(idf["gev"]["shape"].size(), 12u);
    // The shown tables follow --distribution; the figures are the same run's.
    EXPECT_EQ(json["grids"]["intensity"][4][5],
              this->json({"rain", "idf", station("01-003").string()})["grids"]["intensity"][4][5]);
    const auto gev = this->json({"rain", "idf", station("01-003").string(), "--distribution", "gev"});
    EXPECT_EQ(gev["idf"], idf);
    EXPECT_NE(gev["grids"]["depth"], json["grids"]["depth"]);
}

TEST_F(MultiYearTool, IdfFromAMaximaTableAndItsRefusals) {
    ScratchDirectory files;
    const fs::path table = files / "maxima.csv";
    writeFileAtomic(table,
                    std::string("yıl;15;60\n1995;12;21\n1996;18;30\n1997;9,5;19\n1998;22;35\n1999;14;25\n"));
    const auto json = this->json({"rain", "idf", station("01-003").string(), "--maxima", table.string()});
    EXPECT_EQ(json["idf"]["durations"], nlohmann::json({15, 60}));
    EXPECT_EQ(json["idf"]["years"].size(), 5u);

    writeFileAtomic(table, std::string("yıl;15\n1995;12\n1996;18\n1997;9,5\n1998;22\n"));
    ToolRun r = run({"rain", "idf", station("01-003").string(), "--maxima", table.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: only 4 usable years in " + table.string() + ", at least 5 are needed\n");
    writeFileAtomic(table, std::string("yıl;15\n1995;-1\n"));
    r = run({"rain", "idf", station("01-003").string(), "--maxima", table.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: " + table.string() + ": 2. satır: yağış yüksekliği değil: \"-1\"\n");
    r = run({"rain", "idf", files.path().string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: only 0 usable years in " + files.path().string() + ", at least 5 are needed\n");
    r = run({"rain", "idf", station("01-003").string(), "--distribution", "weibull"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

TEST_F(MultiYearTool, FlowDurationOfTheDemoRiverOverTenYears) {
    const auto json = this->json({"flow", "duration", station("01-001").string()});
    const auto& duration = json["duration"];
    ASSERT_EQ(duration["percent"].size(), 99u);
    EXPECT_EQ(duration["percent"][0], 1);
    EXPECT_EQ(duration["percent"][98], 99);
    ASSERT_EQ(duration["discharge"].size(), 99u);
    for (std::size_t p = 1; p < 99; ++p)
        EXPECT_LE(duration["discharge"][p].get<double>(), duration["discharge"][p - 1].get<double>());
    ASSERT_EQ(duration["years"].size(), 10u);
    EXPECT_EQ(duration["years"][0], 1995);
    // Ten water years 1995..2004 hold 3653 days; the logger lost ten days of January 2004.
    EXPECT_EQ(duration["days"].get<int>() + duration["missingDays"].get<int>(), 3653);
    EXPECT_EQ(duration["missingDays"], 10);
    EXPECT_EQ(json["grids"]["duration"].size(), 100u);
    EXPECT_EQ(json["texts"]["days"], "Sayılan gün: 3643, debisi olmayan gün: 10");
}

TEST_F(MultiYearTool, FlowRecordTakesTheAnnualTablesMeans) {
    const auto json = this->json({"flow", "record", station("01-001").string()});
    const auto& years = json["record"]["years"];
    ASSERT_EQ(years.size(), 10u);
    const auto annual = this->json({"table", "annual", (station("01-001") / "2004_01-001.ard").string()});
    // "Yıllık Ortalama debi         :   12,34 l/sn"
    std::string meanText = annual["texts"]["annualMean"];
    meanText = meanText.substr(meanText.find(':') + 1);
    std::replace(meanText.begin(), meanText.end(), ',', '.');
    EXPECT_DOUBLE_EQ(years[9]["mean"].get<double>(), std::stod(meanText));
    EXPECT_EQ(years[9]["year"], 2004);
    EXPECT_EQ(years[9]["missingDays"], 10);
    EXPECT_EQ(json["grids"]["annual"].size(), 11u);
    EXPECT_EQ(run({"flow", "record", station("01-003").string()}).err,
              "korvel: no water-year files in " + station("01-003").string() + "\n");
}

} // namespace
