#include "common/PdfText.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korvel::testing {
namespace {

std::string fileText(const std::filesystem::path& file) {
    const auto bytes = readFileBytes(file);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class SeriesToolTest : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }

    // A second drive holding the demo station's record and rating tables but no water year.
    std::filesystem::path emptyStation() const {
        const auto dir = other.path() / "korvel2000" / "Ankara" / "01" / "01-001";
        std::filesystem::create_directories(dir);
        for (const char* name : {"genel.tan", "01_01-001.HQ", "02_01-001.HQ"})
            std::filesystem::copy_file(station / name, dir / name);
        return dir;
    }
    ToolRun runOn(const std::filesystem::path& otherDrive, std::vector<std::string> args) const {
        args.insert(args.begin(), {"--drive", otherDrive.string(), "--locale", "tr_TR"});
        return runTool(args);
    }

    ScratchDirectory other;
};

TEST_F(SeriesToolTest, CsvExportImportedIntoAnEmptyStationExportsTheSameFile) {
    const auto first = scratch / "first.csv";
    ASSERT_EQ(run({"export", station.string(), "--from", "2002-10-01", "--to", "01.10.2004", "--format",
                   "csv", "--out", first.string()})
                  .code,
              0);
    const std::string exported = fileText(first);
    EXPECT_EQ(exported.rfind("# ", 0), 0U);
    EXPECT_NE(exported.find("\r\ndate,mean_level_mm,"), std::string::npos);
    EXPECT_NE(exported.find("\r\n2004-10-01,"), std::string::npos);

    const auto target = emptyStation();
    const ToolRun imported = runOn(other.path(), {"import", "csv", first.string(), target.string()});
    ASSERT_EQ(imported.code, 0) << imported.err;
    const auto second = scratch / "second.csv";
    ASSERT_EQ(runOn(other.path(), {"export", target.string(), "--from", "2002-10-01", "--to", "2004-10-01",
                                   "--format", "csv", "--out", second.string()})
                  .code,
              0);
    EXPECT_EQ(fileText(second), exported);

    // The same file again changes nothing; edited figures would replace measured days.
    EXPECT_EQ(runOn(other.path(), {"import", "csv", first.string(), target.string()}).code, 0);
    std::string changed = exported;
    const auto row = changed.find("\r\n2003-10-05,") + 13;
    changed.replace(row, changed.find(',', row) - row, "999");
    const auto edited = scratch / "edited.csv";
    writeFileAtomic(edited, changed);
    const ToolRun refused = runOn(other.path(), {"import", "csv", edited.string(), target.string()});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("1 measured days"), std::string::npos) << refused.err;
    EXPECT_EQ(runOn(other.path(), {"import", "csv", edited.string(), target.string(), "--replace"}).code, 0);
}

TEST_F(SeriesToolTest, WaterMlIsWellFormedWithOneObservationPerSeriesAndAQualifierPerPoint) {
    if (std::system("xmllint --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "xmllint is missing: install libxml2-utils (scripts/deps)";
    const auto xml = scratch / "series.xml";
    ASSERT_EQ(run({"export", station.string(), "--from", "2003-12-30", "--to", "2004-01-02", "--format",
                   "waterml2", "--out", xml.string()})
                  .code,
              0);
    ASSERT_EQ(std::system(("xmllint --noout '" + xml.string() + "'").c_str()), 0);
    auto count = [&](const std::string& path) {
        std::string text = commandOutput("xmllint --xpath 'count(" + path + ")' '" + xml.string() + "'");
        return text.substr(0, text.find_last_not_of('\n') + 1);
    };
    EXPECT_EQ(count("/*[local-name()=\"Collection\"]/*[local-name()=\"observationMember\"]/"
                    "*[local-name()=\"OM_Observation\"]"),
              "4");
    EXPECT_EQ(count("//*[local-name()=\"MeasurementTimeseries\"]"), "4");
    EXPECT_EQ(count("//*[local-name()=\"MeasurementTVP\"]"), "16");
    EXPECT_EQ(count("//*[local-name()=\"MeasurementTVP\"]//*[local-name()=\"qualifier\"]"), "16");
    EXPECT_EQ(count("//*[local-name()=\"uom\"][@code=\"m3/s\"]"), "1");
}

TEST_F(SeriesToolTest, ALoggerCsvGoesIntoANewStationAndItsTables) {
    std::string text = "Zaman;Seviye (cm)\n";
    for (int day = 14; day <= 15; ++day)
        for (int hour = 0; hour < 24; ++hour)
            text += std::to_string(day) + ".01.2004 " + (hour < 10 ? "0" : "") + std::to_string(hour) +
                    ":00;" + (hour == 12 ? "9,5" : "7,0") + "\n";
    text += "16.01.2004 00:00;kayıp\n";
    const auto csv = scratch / "logger.csv";
    writeFileAtomic(csv, text);
    const auto target = emptyStation();
    const ToolRun imported =
        runOn(other.path(), {"import", "csv", csv.string(), target.string(), "--column-time", "1",
                             "--column-level", "2", "--date-format", "dd.MM.yyyy HH:mm", "--separator", ";",
                             "--decimal", ",", "--header-lines", "1", "--scale", "10"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.out.find("(2)"), std::string::npos) << imported.out;
    EXPECT_NE(imported.out.find("satır 50: seviye okunamadı"), std::string::npos) << imported.out;

    const ToolRun exported = runOn(other.path(), {"export", target.string(), "--from", "2004-01-14", "--to",
                                                  "2004-01-16", "--format", "csv"});
    // (23 x 70 + 95) / 24 = 71.08 -> 71; the highest reading at noon.
    EXPECT_NE(exported.out.find("2004-01-14,71,95,12:00:00,70,00:00:00,"), std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find(",imported,"), std::string::npos);
    EXPECT_NE(exported.out.find("2004-01-16,,,,,,,no_data,,,"), std::string::npos);
}

TEST_F(SeriesToolTest, AFileThatGivesNoDayOrAScaleThatIsNoNumberIsRefused) {
    const auto target = emptyStation();
    const auto before = std::distance(std::filesystem::directory_iterator(target), {});
    const auto empty = scratch / "empty.csv";
    const auto oneByte = scratch / "one.csv";
    writeFileAtomic(empty, std::string_view());
    writeFileAtomic(oneByte, std::string_view("x"));
    for (const auto& file : {empty, oneByte}) {
        for (const bool logger : {false, true}) {
            std::vector<std::string> args = {"import", "csv", file.string(), target.string()};
            if (logger)
                args.insert(args.end(), {"--column-time", "1", "--column-level", "2"});
            const ToolRun run = runOn(other.path(), args);
            EXPECT_EQ(run.code, 1) << file << logger;
            EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
        }
    }
    const ToolRun scale =
        runOn(other.path(), {"import", "csv", oneByte.string(), target.string(), "--column-time", "1",
                             "--column-level", "2", "--scale", "nan"});
    EXPECT_EQ(scale.code, 1);
    EXPECT_NE(scale.err.find("--scale"), std::string::npos) << scale.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target), {}), before);
}

} // namespace
} // namespace korvel::testing
