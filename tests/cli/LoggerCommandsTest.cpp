#include "SimToolDrive.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "instruments/LevelDump.h"
#include "instruments/sim/LevelMemory.h"
#include "platform/PortLock.h"
#include "sim/SimProcess.h"
#include "store/WaterYearFile.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class LoggerTool : public SimToolDrive {
protected:
    fs::path dumpFile() const { return drive / "korvel96" / "hamdata.96"; }
};

std::string textOf(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(name + ": ", 0) == 0)
            return line.substr(name.size() + 2);
    return "<none>";
}

} // namespace

TEST_F(LoggerTool, InfoShowsWhatTheLoggerHolds) {
    SimProcess sim(levelSimArguments(10, {"--station", "ÇAYIR", "--battery", "1000"}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"logger", "info", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(textOf(r.out, "Text2"), "10:00:00");
    EXPECT_EQ(textOf(r.out, "Text3"), "15.03.2026");
    EXPECT_EQ(textOf(r.out, "Text4"), "15");
    EXPECT_EQ(textOf(r.out, "Text5"), "ÇAYIR   ");
    EXPECT_EQ(textOf(r.out, "Text6"), "01-001  ");
    EXPECT_EQ(textOf(r.out, "Text8"), " mm");
    EXPECT_EQ(textOf(r.out, "Label8"), "  PİL ÖMRÜ  600..Gün");
    EXPECT_EQ(textOf(r.out, "Label9"), "Limnigraf Kaydedilebilecek kalan gün sayısı 149");
}

TEST_F(LoggerTool, EachSettingReachesTheLogger) {
    SimProcess sim(levelSimArguments(3));
    ASSERT_TRUE(sim.running());
    const std::vector<std::vector<std::string>> settings{{"--time", "08:15"},
                                                         {"--date", "01.04.2026"},
                                                         {"--interval", "30"},
                                                         {"--station-name", "YENİ"},
                                                         {"--station-number", "02-002"},
                                                         {"--river", "KIZILIRMAK"},
                                                         {"--level", "1234", "--unit", "1"}};
    for (const auto& s : settings) {
        std::vector<std::string> args{"logger", "set", "--port", sim.path()};
        args.insert(args.end(), s.begin(), s.end());
        const ToolRun r = run(args);
        EXPECT_EQ(r.code, 0) << s[0] << ": " << r.err;
    }
    ToolRun r = run({"logger", "info", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(textOf(r.out, "Text2").substr(0, 5), "08:15");
    EXPECT_EQ(textOf(r.out, "Text3"), "01.04.2026");
    EXPECT_EQ(textOf(r.out, "Text4"), "30");
    EXPECT_EQ(textOf(r.out, "Text5"), "YENİ    ");
    EXPECT_EQ(textOf(r.out, "Text6"), "02-002  ");
    EXPECT_EQ(textOf(r.out, "Text7"), "KIZILIRM");
    EXPECT_EQ(textOf(r.out, "Text1"), "1234");

    r = run({"logger", "set", "--port", sim.path(), "--unit-code", "10"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(textOf(r.out, "Text1"), "0123");
    EXPECT_EQ(textOf(r.out, "Text8"), " cm");
}

TEST_F(LoggerTool, DownloadAndConversionDayByDay) {
    const fs::path image = drive / "sim-memory";
    SimProcess sim(levelSimArguments(200, {"--save-memory", image.string()}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"--json", "logger", "download", "--port", sim.path(), "--station",
                           station.string(), "--number", "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFileBytes(dumpFile()), readFileBytes(image));

    // The same memory made here: every intact day is in the water years as the logger holds it.
    sim::LevelMemoryPlan plan;
    plan.today = {2026, 3, 15};
    plan.minutesNow = 600;
    plan.days = 200;
    const sim::LevelMemory memory = sim::generateLevelMemory(plan);
    const auto json = nlohmann::json::parse(r.out);
    std::size_t checked = 0;
    std::map<int, std::vector<DayRecord>> years;
    for (const sim::SimulatedDay& day : memory.days) {
        if (!day.intact)
            continue;
        const OleDate date = OleDate::fromDate(day.date);
        const int year = waterYearOfDate(date);
        if (!years.count(year))
            years[year] = readWaterYearFile(station / waterYearFileName(year, "01-001"));
        const auto n = findDay(years[year], date);
        ASSERT_TRUE(n) << date.dateText();
        const DayRecord& record = years[year][*n - 1];
        const double sum = std::accumulate(day.readings.begin(), day.readings.end(), 0.0);
        EXPECT_EQ(record.meanValue, static_cast<float>(roundHalfEven(sum / day.readings.size() / 10)))
            << date.dateText();
        if (day.complete) {
            EXPECT_EQ(record.maxLevel, roundHalfEven(day.maximum.value / 10.0));
            EXPECT_EQ(record.minTime, OleDate::fromTime(day.minimum.hour, day.minimum.minute, 0));
        }
        EXPECT_EQ(record.source, "L  korvelmaş");
        EXPECT_EQ(record.rawDataFile, "KAR15-3 .-26");
        ++checked;
    }
    EXPECT_EQ(checked, 160u);
    EXPECT_EQ(json["days"].size(), 160u);
    EXPECT_TRUE(fs::exists(station / "KAR15-3 .-26"));
    EXPECT_TRUE(fs::exists(drive / "korvel96" / "istasyon" / "01-001" / "KAR15-3 .m26"));
}

TEST_F(LoggerTool, EraseLeavesAnEmptyMemory) {
    SimProcess sim(levelSimArguments(20));
    ASSERT_TRUE(sim.running());
    ToolRun r = run({"logger", "erase", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Hafıza silindi\n");
    r = run({"--json", "logger", "download", "--port", sim.path(), "--station", station.string(), "--number",
             "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["days"].size(), 0u);
}

TEST_F(LoggerTool, ASilentLoggerIsATryAgain) {
    SimProcess sim(levelSimArguments(3, {"--fault", "silence"}));
    ASSERT_TRUE(sim.running());
    const auto start = std::chrono::steady_clock::now();
    const ToolRun r = run({"logger", "set", "--port", sim.path(), "--time", "08:00"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Yeniden deneyin\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(LoggerTool, AReplyOfTheWrongLengthIsATryAgain) {
    SimProcess sim(levelSimArguments(3, {"--fault", "extra@0x12"}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"logger", "set", "--port", sim.path(), "--time", "08:00"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Yeniden deneyin\n");
}

TEST_F(LoggerTool, ACutOffDownloadLeavesTheOldDumpAndWritesNothing) {
    fs::create_directories(dumpFile().parent_path());
    const Bytes old(32768, 0x5A);
    writeFileAtomic(dumpFile(), old);
    SimProcess sim(levelSimArguments(30, {"--fault", "cutoff"}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run(
        {"logger", "download", "--port", sim.path(), "--station", station.string(), "--number", "01-001"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Yeniden deneyin\n");
    EXPECT_EQ(readFileBytes(dumpFile()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dumpFile().parent_path()), fs::directory_iterator()), 1);
    // No day written: the station holds only what came, kept with its log.
    EXPECT_EQ(std::distance(fs::directory_iterator(station), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(station / "sagimlar"), fs::directory_iterator()), 3);
}

TEST_F(LoggerTool, InfoThatStopsPartWayShowsTheFieldsReadThenTheMessage) {
    SimProcess sim(levelSimArguments(3, {"--fault", "silence@0x06"}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"logger", "info", "--port", sim.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Yeniden deneyin\n");
    EXPECT_EQ(textOf(r.out, "Text3"), "15.03.2026"); // read before the memory in use
    EXPECT_EQ(textOf(r.out, "Text4"), "15");
    EXPECT_EQ(textOf(r.out, "Text6"), "<none>"); // asked after it
}

TEST_F(LoggerTool, APortAnotherProgramHoldsIsRefused) {
    SimProcess sim(levelSimArguments(3));
    ASSERT_TRUE(sim.running());
    PortLock held; // as the desktop program holds it while a download runs
    ASSERT_TRUE(held.acquire(sim.path()));
    ToolRun r = run({"logger", "info", "--port", sim.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Secili comm port uygun deyil\n");
    held.release();
    r = run({"logger", "info", "--port", sim.path()});
    EXPECT_EQ(r.code, 0) << r.err;
}

TEST_F(LoggerTool, APortThatCannotBeOpened) {
    const ToolRun r = run({"logger", "info", "--port", (drive / "no-such-port").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Secili comm port uygun deyil\n");
}

TEST_F(LoggerTool, ConvertRefusesADumpOfTheWrongSize) {
    writeFileAtomic(drive / "short.96", Bytes(1000, 0));
    const ToolRun r =
        run({"logger", "convert", (drive / "short.96").string(), station.string(), "--number", "01-001"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Ham veri dosyası 32768 bayt olmalı, bu dosya 1000 bayt\n");
    EXPECT_TRUE(fs::is_empty(station));
}

TEST_F(LoggerTool, ConvertAndConvertReceived) {
    sim::LevelMemoryPlan plan;
    plan.days = 5;
    writeFileAtomic(drive / "dump.96", sim::generateLevelMemory(plan).image);
    ToolRun r = run({"--json", "logger", "convert", (drive / "dump.96").string(), station.string(),
                     "--number", "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto converted = nlohmann::json::parse(r.out);
    EXPECT_EQ(converted["days"].size(), 6u);
    EXPECT_EQ(converted["lastDayInProgress"], true);

    const fs::path other = drive / "korvel2000" / "Ankara" / "01" / "01-002";
    r = run({"--json", "logger", "convert-received", converted["readingsFile"].get<std::string>(),
             other.string(), "--number", "01-002"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto received = nlohmann::json::parse(r.out);
    ASSERT_EQ(received["days"].size(), 6u);
    // The older program's levels are ten times the download's.
    const double first = converted["days"][0]["meanValue"];
    const double again = received["days"][0]["meanValue"];
    EXPECT_NEAR(again, first * 10, 5);
    EXPECT_TRUE(fs::exists(other / "2026_01-002.ard"));
}
