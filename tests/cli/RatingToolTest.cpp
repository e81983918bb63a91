#include "common/ToolRun.h"
#include "core/FileIO.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// "rating fit" and "rating save" on the demo's station 01-001 and its card of gaugings.
class RatingTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }
    // A bad call: exit 1, one line on standard error naming `cause`.
    void expectRefused(std::vector<std::string> args, const std::string& cause) {
        const ToolRun r = run(std::move(args));
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find(cause), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
};

TEST_F(RatingTool, FitReportsTheCurveAtEveryLevelOfTheGaugedRange) {
    const auto report = json({"rating", "fit", station.string(), "--exclude", "17"});
    ASSERT_TRUE(report.contains("grids"));
    const auto& fit = report["fit"];
    const auto& gaugings = fit["gaugings"];
    ASSERT_GE(gaugings.size(), 25u);
    const auto card = json({"card", "show", station.string()})["grids"]["MSFlexGrid1"];
    // The card's l/s become m3/s.
    const double litres = std::stod(card[1][6].get<std::string>());
    EXPECT_NEAR(gaugings[0]["discharge"].get<double>(), litres / 1000.0, 1e-6 * litres / 1000.0);
    EXPECT_TRUE(gaugings[16]["excluded"].get<bool>());
    EXPECT_FALSE(gaugings[16]["inBand"].get<bool>());

    double lowest = 1e9;
    double highest = 0.0;
    for (const auto& g : gaugings)
        if (!g["excluded"].get<bool>()) {
            lowest = std::min(lowest, g["level"].get<double>());
            highest = std::max(highest, g["level"].get<double>());
        }
    const auto& curve = fit["curve"];
    EXPECT_EQ(curve.front()["level"].get<double>(), lowest);
    EXPECT_EQ(curve.back()["level"].get<double>(), highest);
    EXPECT_EQ(curve.size(), static_cast<std::size_t>(highest - lowest + 1));
    EXPECT_LT(fit["standardErrorPercent"].get<double>(), 15.0); // two controls a shift apart
    const auto& s = fit["segments"].front();
    EXPECT_EQ(s["fromLevel"].get<double>(), lowest);
    for (const auto& p : curve)
        EXPECT_LE(p["predictionLow"].get<double>(), p["confidenceLow"].get<double>());
}

TEST_F(RatingTool, SavedTableIsUsedFromItsFirstDay) {
    const fs::path table02 = station / "02_01-001.HQ";
    const Bytes before = *readFileBytes(table02);
    // A number in use is refused and that table kept.
    expectRefused(
        {"rating", "save", station.string(), "2", "--valid-from", "01.04.2004", "--valid-to", "30.09.2004"},
        "02");
    EXPECT_EQ(*readFileBytes(table02), before);

    const ToolRun saved = run({"rating", "save", station.string(), "3", "--valid-from", "01.04.2004",
                               "--valid-to", "30.09.2004", "--exclude", "17", "--end-earlier"});
    ASSERT_EQ(saved.code, 0) << saved.err;
    ASSERT_TRUE(fileExists(station / "03_01-001.HQ"));
    const auto fitted = json({"rating", "fit", station.string(), "--exclude", "17"})["fit"]["curve"];
    const auto at200 = std::find_if(fitted.begin(), fitted.end(), [](const nlohmann::json& p) {
        return p["level"].get<double>() == 200.0;
    });
    ASSERT_NE(at200, fitted.end());

    const auto may = json({"hq", "lookup", station.string(), "15.05.2004", "200"});
    EXPECT_EQ(may["hqKey"], "03");
    EXPECT_NEAR(may["discharge"].get<double>(), (*at200)["discharge"].get<double>(),
                1e-6 * (*at200)["discharge"].get<double>());
    EXPECT_EQ(json({"hq", "lookup", station.string(), "31.03.2004", "200"})["hqKey"], "02");
    // Above the gauged range the new table gives no discharge.
    EXPECT_TRUE(json({"hq", "lookup", station.string(), "15.05.2004", "900"})["discharge"].is_null());

    const auto shown = json({"hq", "show", (station / "03_01-001.HQ").string()});
    EXPECT_EQ(shown["grids"]["periods"][1][0], "01.04.2004");
    EXPECT_NE(shown["texts"]["remarks"].get<std::string>().find("dışarıda satır 17"), std::string::npos);
    EXPECT_EQ(shown["texts"]["enteredBy"], "Ölçülerden hesaplanan eğri");
}

TEST_F(RatingTool, BadInputNamesTheCauseAndWritesNothing) {
    expectRefused({"rating", "fit", station.string(), "--breaks", "5000"}, "kırılma noktası 5000");
    expectRefused({"rating", "fit", station.string(), "--from", "01.01.2004", "--to", "15.02.2004"},
                  "3'ten az");
    expectRefused({"rating", "fit", station.string(), "--segments", "4"}, "--segments");
    expectRefused({"rating", "save", station.string(), "3", "--valid-from", "01.04.2004", "--valid-to",
                   "30.09.2004", "--from", "01.01.2004", "--to", "15.02.2004"},
                  "3'ten az");
    EXPECT_FALSE(fileExists(station / "03_01-001.HQ"));
}

} // namespace
