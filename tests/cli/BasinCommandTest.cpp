#include "cli/CliContext.h"
#include "common/ToolRun.h"
#include "rain/BasinTables.h"
#include "store/RainYearFile.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

TEST(BasinCommand, PrintsTheFourTablesOfTheDemoBasin) {
    korvel::testing::ScratchDirectory drive;
    ASSERT_EQ(runTool({"demo", drive.path().string()}).code, 0);
    const auto region = drive.path() / "korvel2000" / "Ankara" / "01";
    std::array<std::filesystem::path, 3> rain;
    const char* numbers[] = {"01-001", "01-002", "01-003"};
    for (std::size_t s = 0; s < 3; ++s)
        rain[s] = region / numbers[s] / rainYearFileName(2004, numbers[s]);
    const auto flow = region / "01-001" / "2004_01-001.ard";
    const BasinInputs inputs = loadBasinInputs(flow, rain);
    const Sheet expected[] = {
        basinRainSheet(inputs, Locale::turkish()), basinDailySheet(inputs, Locale::turkish()),
        basinRunoffSheet(inputs, Locale::turkish()), rainyDaySheet(inputs, Locale::turkish())};
    // The demo basin has rain and flow, so the tables are not empty.
    EXPECT_NE(expected[0].findTable("MSFlexGrid1")->cell(1, 13), "0");
    EXPECT_NE(expected[0].findTable("MSFlexGrid1")->cell(5, 13), "");
    EXPECT_NE(expected[2].findTable("MSFlexGrid1")->cell(2, 13), "0");
    // The daily runoff depths of a 126,4 km2 basin spread over the flow classes: most days lie
    // below 1,5 mm, only flood days above.
    const Table& flowClasses = *expected[3].findTable("MSFlexGrid2");
    int classesUsed = 0;
    for (int f = 1; f <= 5; ++f)
        classesUsed += flowClasses.cell(f, 13) != "0" ? 1 : 0;
    EXPECT_GE(classesUsed, 3);
    EXPECT_LT(std::stoi(flowClasses.cell(5, 13)), 150);

    for (int table = 1; table <= 4; ++table) {
        const ToolRun run = runTool({"--drive", drive.path().string(), "--locale", "tr_TR", "--json", "basin",
                                     std::to_string(table), "--flow", flow.string(), "--rain",
                                     rain[0].string(), rain[1].string(), rain[2].string()});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out), sheetToJson(expected[table - 1])) << table;
    }
    const ToolRun text = runTool({"--locale", "tr_TR", "basin", "3", "--flow", flow.string(), "--rain",
                                  rain[0].string(), rain[1].string(), rain[2].string()});
    ASSERT_EQ(text.code, 0);
    EXPECT_EQ(text.out, sheetToText(expected[2]));

    EXPECT_EQ(runTool({"basin", "5", "--flow", flow.string(), "--rain", rain[0].string(), rain[1].string(),
                       rain[2].string()})
                  .code,
              1);
    EXPECT_EQ(
        runTool({"basin", "1", "--flow", flow.string(), "--rain", rain[0].string(), rain[1].string()}).code,
        1);
    EXPECT_EQ(runTool({"basin", "1", "--flow", (region / "yok.ard").string(), "--rain", rain[0].string(),
                       rain[1].string(), rain[2].string()})
                  .code,
              1);
}
