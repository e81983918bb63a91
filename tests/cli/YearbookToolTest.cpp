#include "common/PdfText.h"
#include "common/ToolRun.h"

#include <cstdio>
#include <string>

namespace korvel::testing {
namespace {

#ifndef KORVEL_TOOL_WITHOUT_PDF

// The book is written by the korvel executable beside this test, which renders through Qt.
std::string runKorvelExecutable(const std::vector<std::string>& args) {
    const auto tool = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "korvel";
    std::string command = "'" + tool.string() + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    return commandOutput(command);
}

class YearbookToolTest : public ToolDrive {
protected:
    void SetUp() override {
        if (!havePdftotext())
            GTEST_SKIP() << kNoPdftotext;
        writeDemo();
        const auto basin = drive / "korvel2000" / "Ankara" / "01";
        // A station without a file for the year, and one whose days have no rating table.
        std::filesystem::create_directories(basin / "01-004");
        std::filesystem::create_directories(basin / "01-005");
        std::filesystem::copy_file(station / "2004_01-001.ard", basin / "01-005" / "2004_01-005.ard");
    }
};

TEST_F(YearbookToolTest, TheBookHasContentsBookmarksHeadersAndTheStationsLeftOut) {
    const auto pdf = scratch / "kitap.pdf";
    const auto summary = nlohmann::json::parse(
        runKorvelExecutable({"--json", "--locale", "tr_TR", "yearbook", (drive / "korvel2000").string(),
                             "--year", "2004", "--pdf", pdf.string()}));
    const int pages = summary["pages"];
    EXPECT_EQ(summary["sections"], 5); // 01-001 and 01-002 flow and rain, 01-003 rain
    ASSERT_EQ(summary["missing"].size(), 2U);
    EXPECT_EQ(summary["missing"][0]["number"], "01-004");
    EXPECT_EQ(summary["missing"][1]["number"], "01-005");

    EXPECT_EQ(commandOutput("qpdf --show-npages '" + pdf.string() + "'"), std::to_string(pages) + "\n");
    const std::string outline = commandOutput("qpdf --json --json-key=outlines '" + pdf.string() + "'");
    for (const char* title : {"İçindekiler", "Bölge: Ankara", "Havza: 01",
                              "01-001 - Değirmen Çayı - Yenice Köprüsü", "01-003", "Eksik veriler"})
        EXPECT_NE(outline.find(title), std::string::npos) << title;

    const std::string text = pdfText(pdf);
    EXPECT_EQ(pdfPageCount(text), pages);
    EXPECT_NE(text.find("İçindekiler"), std::string::npos);
    EXPECT_NE(text.find("01-001 - Değirmen Çayı - Yenice Köprüsü"), std::string::npos);
    EXPECT_NE(text.find("Su yılı 2004"), std::string::npos);
    EXPECT_NE(text.find("1 / " + std::to_string(pages)), std::string::npos);
    EXPECT_NE(text.find(std::to_string(pages) + " / " + std::to_string(pages)), std::string::npos);
    EXPECT_NE(text.find("* Eksik günler: Ocak 10 gün"), std::string::npos);
    const std::string closing = pdfText(pdf, pages, pages);
    EXPECT_NE(closing.find("Eksik veriler"), std::string::npos);
    EXPECT_NE(closing.find("01-004"), std::string::npos);
    EXPECT_NE(closing.find("bu su yılının dosyası yok"), std::string::npos);
    EXPECT_NE(closing.find("01-005"), std::string::npos);
    EXPECT_NE(closing.find("hiçbirinde debi yok"), std::string::npos);

    // The figures are those of the station tables.
    for (const char* number : {"01-001", "01-002"}) {
        const auto file =
            drive / "korvel2000" / "Ankara" / "01" / number / (std::string("2004_") + number + ".ard");
        const auto page = json({"table", "yearbook", file.string()});
        const std::string yearMax = page["grids"]["MSFlexGrid1"][1][1];
        const std::string label = page["texts"]["Label6"];
        EXPECT_NE(text.find(yearMax), std::string::npos) << number;
        EXPECT_NE(text.find(label.substr(0, 40)), std::string::npos) << number;
    }
}

TEST_F(YearbookToolTest, ARegionOrBasinWithoutStationsIsRefused) {
    const auto pdf = scratch / "bos.pdf";
    const ToolRun refused = run({"yearbook", (drive / "korvel2000").string(), "--year", "2004", "--pdf",
                                 pdf.string(), "--region", "Yok"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

#endif

} // namespace
} // namespace korvel::testing
