#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "store/RainYearFile.h"
#include "store/StationRecord.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// Commands that write into a station, given a station or a file whose content is hostile: they
// refuse with a message, and nothing inside or outside the station changes.
class StationWritesTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }

    void giveStationNumber(const std::string& number) const {
        StationRecord record = loadStationRecord(station, "Ankara");
        record.stationNumber = fixedText(number, StationRecord::stationNumberWidth);
        saveStationRecordFile(station, record);
    }

    // A sibling-program measurement list of one line.
    fs::path measurementList() const {
        std::string line(133, ' ');
        line.replace(4, 8, "01052005");
        line.replace(62, 5, " 1.25");
        line.replace(67, 4, "  12");
        line.replace(71, 3, "345");
        fs::create_directories(drive / "suvak");
        const fs::path list = drive / "suvak" / "K0101.DAT";
        writeFileAtomic(list, line);
        return list;
    }
};

} // namespace

TEST_F(StationWritesTool, AStationNumberThatIsAPathNamesNoFile) {
    const fs::path list = measurementList();
    for (const std::string number : {"../../pw", "/tmp/pwn", "..", "a\\b"}) {
        giveStationNumber(number);
        const auto before = scratch.snapshot();
        const ToolRun card = run({"card", "import", list.string(), station.string()});
        EXPECT_EQ(card.code, 1) << number;
        EXPECT_NE(card.err.find("İstasyon numarası dosya adında kullanılamaz"), std::string::npos)
            << card.err;
        const ToolRun suvak = run({"import", "suvak", list.string(), station.string()});
        EXPECT_EQ(suvak.code, 1) << number;
        EXPECT_EQ(scratch.snapshot(), before) << number;
    }
    EXPECT_FALSE(fs::exists("/tmp/pwn.olc"));
}

TEST_F(StationWritesTool, RainAnalysisLeavesDatesItCannotCountFrom) {
    const fs::path file = station.parent_path() / "01-003" / rainYearFileName(2004, "01-003");
    std::vector<RainDayRecord> records = parseRainYearFile(*readFileBytes(file));
    const std::vector<double> badFirstDates = {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e6, 0.5,
                                               OleDate::fromDate(2005, 3, 1).value()};
    for (double first : badFirstDates) {
        records.front().dayDate = OleDate(first);
        writeRainRecords(file, records, {1});
        const Bytes before = *readFileBytes(file);
        const ToolRun analysed = run({"rain", "analyse", file.string()});
        EXPECT_EQ(analysed.code, 0) << analysed.err;
        EXPECT_NE(analysed.err.find("tarihler düzeltilmedi"), std::string::npos) << first;
        EXPECT_EQ(*readFileBytes(file), before) << first;
    }
}

TEST_F(StationWritesTool, MonthlyTotalsGivingNoFiniteDischargeAreRefused) {
    const auto before = scratch.snapshot();
    const ToolRun huge = run({"wy", "from-monthly", station.string(), "2009", "1", "1", "1e300", "1", "1",
                              "1", "1", "1", "1", "1", "1", "1"});
    EXPECT_EQ(huge.code, 1);
    EXPECT_NE(huge.err.find("Aralık"), std::string::npos) << huge.err;
    EXPECT_EQ(scratch.snapshot(), before);
}
