#include "DemoDrive.h"
#include "common/PdfText.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "store/RainYearFile.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace fs = std::filesystem;
using namespace korvel;
using korvel::testing::collapseSpaces;
using korvel::testing::pdfText;
using korvel::testing::runTool;
using korvel::testing::ToolRun;

namespace {

std::string quoted(const std::string& argument) {
    std::string text = "'";
    for (char ch : argument)
        text += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return text + "'";
}

std::string fileText(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// The --pdf renderer lives in the korvel executable, so these tests run it; it sits next to
// the test program in the build's bin directory.
class PdfOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new korvel::testing::ScratchDirectory;
        demo::writeDemoDrive(scratch->path() / "drive");
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }

    // A build without Qt has a tool without the renderer: only the in-process refusal can run.
    void SetUp() override {
#ifdef KORVEL_TOOL_WITHOUT_PDF
        if (std::string_view(::testing::UnitTest::GetInstance()->current_test_info()->name()) !=
            "ToolWithoutRendererRefusesPdf")
            GTEST_SKIP() << "the korvel tool of this build has no PDF output";
#endif
    }

    static fs::path station(const std::string& number) {
        return scratch->path() / "drive" / "korvel2000" / "Ankara" / "01" / number;
    }
    static fs::path flowFile() {
        return station("01-001") / "2004_01-001.ard";
    }
    static fs::path rainFile() {
        return station("01-003") / rainYearFileName(2004, "01-003");
    }

    static ToolRun runExecutable(const std::vector<std::string>& args) {
        const fs::path tool = fs::read_symlink("/proc/self/exe").parent_path() / "korvel";
        const fs::path out = scratch->path() / "stdout.txt";
        const fs::path err = scratch->path() / "stderr.txt";
        std::string command = quoted(tool.string());
        for (const std::string& a : withDrive(args))
            command += " " + quoted(a);
        command += " > " + quoted(out.string()) + " 2> " + quoted(err.string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(out), fileText(err)};
    }

    static ToolRun runInProcess(const std::vector<std::string>& args) {
        return runTool(withDrive(args));
    }

    static std::vector<std::string> withDrive(std::vector<std::string> args) {
        args.insert(args.begin(), {"--drive", (scratch->path() / "drive").string(), "--locale", "tr_TR"});
        return args;
    }

    // Runs the report command with --pdf and checks that the PDF holds its caption, its texts
    // and every cell of its grids, as the JSON output of the same command gives them.
    static void expectReportInPdf(const std::vector<std::string>& command, const std::string& name) {
        ASSERT_TRUE(korvel::testing::havePdftotext()) << korvel::testing::kNoPdftotext;
        const fs::path pdf = scratch->path() / (name + ".pdf");
        std::vector<std::string> args = command;
        args.insert(args.begin(), {"--pdf", pdf.string()});
        const ToolRun run = runExecutable(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        // The text output is the same as without --pdf.
        EXPECT_EQ(run.out, runInProcess(command).out);

        std::vector<std::string> jsonArgs = command;
        jsonArgs.insert(jsonArgs.begin(), "--json");
        const nlohmann::json sheet = nlohmann::json::parse(runInProcess(jsonArgs).out);
        const std::string text = collapseSpaces(pdfText(pdf));
        ASSERT_FALSE(text.empty()) << "no text extracted from " << pdf;

        EXPECT_NE(text.find(collapseSpaces(sheet["caption"].get<std::string>())), std::string::npos);
        // Texts are printed after their screen labels, never after their control names.
        for (const auto& [name, value] : sheet["texts"].items()) {
            const std::string line = collapseSpaces(value.get<std::string>());
            if (!line.empty()) {
                EXPECT_NE(text.find(line), std::string::npos) << line;
                EXPECT_EQ(text.find(name + ":"), std::string::npos) << name;
            }
        }
        int cells = 0;
        for (const auto& [grid, rows] : sheet["grids"].items())
            for (const auto& row : rows)
                for (const auto& cell : row) {
                    const std::string wanted = collapseSpaces(cell.get<std::string>());
                    if (wanted.empty())
                        continue;
                    ++cells;
                    EXPECT_NE(text.find(wanted), std::string::npos) << grid << ": \"" << wanted << "\"";
                }
        EXPECT_GT(cells, 50);
    }

    static korvel::testing::ScratchDirectory* scratch;
};

korvel::testing::ScratchDirectory* PdfOutput::scratch = nullptr;

TEST_F(PdfOutput, AnnualTableHoldsTheFiguresOfTheTextOutput) {
    expectReportInPdf({"table", "annual", flowFile().string()}, "annual");
}

TEST_F(PdfOutput, YearbookPageHoldsTheFiguresOfTheTextOutput) {
    expectReportInPdf({"table", "yearbook", flowFile().string()}, "yearbook");
}

TEST_F(PdfOutput, RainAnalysisHoldsTheFiguresOfTheTextOutput) {
    expectReportInPdf({"rain", "analyse", rainFile().string()}, "rain");
}

TEST_F(PdfOutput, CommandWithoutReportWritesNoPdf) {
    const fs::path pdf = scratch->path() / "lookup.pdf";
    const ToolRun run = runExecutable(
        {"--pdf", pdf.string(), "hq", "lookup", station("01-001").string(), "15.03.2004", "245"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("no report"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(PdfOutput, UnwritablePathFailsInOneLineAndLeavesNoFile) {
    const fs::path blocker = scratch->path() / "plain-file";
    writeFileAtomic(blocker, std::string_view("x"));
    const fs::path pdf = blocker / "annual.pdf";
    const ToolRun run = runExecutable({"--pdf", pdf.string(), "table", "annual", flowFile().string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(pdf.string()), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(PdfOutput, ToolWithoutRendererRefusesPdf) {
    const ToolRun run = runInProcess(
        {"--pdf", (scratch->path() / "none.pdf").string(), "table", "annual", flowFile().string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("without PDF output"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch->path() / "none.pdf"));
}

} // namespace
