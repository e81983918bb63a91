#include "cli/CliContext.h"
#include "common/ToolRun.h"
#include "rain/RainYearAnalysis.h"
#include "rain/RainYearSheet.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

TEST(RainAnalyseCommand, PrintsTheAnalysisSheetOfTheFile) {
    korvel::testing::ScratchDirectory drive;
    ASSERT_EQ(runTool({"demo", drive.path().string()}).code, 0);
    const std::filesystem::path file =
        drive.path() / "korvel2000" / "Ankara" / "01" / "01-003" / rainYearFileName(2004, "01-003");
    const Bytes before = korvel::testing::fileBytes(file);

    const ToolRun json = runTool(
        {"--drive", drive.path().string(), "--locale", "tr_TR", "--json", "rain", "analyse", file.string()});
    ASSERT_EQ(json.code, 0) << json.err;
    const Sheet expected =
        rainYearAnalysisSheet(analyseRainYearFile(file)->analysis, "01-003", Locale::turkish());
    EXPECT_EQ(nlohmann::json::parse(json.out), sheetToJson(expected));
    EXPECT_EQ(expected.caption, "01-003    nolu istasyonun Pluviograf yağış değerlerinin analizi");
    EXPECT_NE(expected.text("Text12"), "_00:00:00_0");
    // A file with sound dates is left as it was.
    EXPECT_EQ(korvel::testing::fileBytes(file), before);

    const ToolRun text =
        runTool({"--drive", drive.path().string(), "--locale", "tr_TR", "rain", "analyse", file.string()});
    ASSERT_EQ(text.code, 0);
    EXPECT_EQ(text.out, sheetToText(expected));

    const ToolRun missing = runTool({"rain", "analyse", (drive.path() / "yok.yrd").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.empty());
}
