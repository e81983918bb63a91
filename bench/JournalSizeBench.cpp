// The size of one station's change journal after 30 years of ordinary work: every year a new
// water-year and rainfall-year file, twelve logger conversions of a month's days, twelve rain
// downloads of the month's rainy days, twenty corrected days, ten gaugings on the card and one
// rating table saved again.
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "journal/ChangeJournal.h"
#include "journal/JournalingWriter.h"
#include "store/WaterYearFile.h"

#include <benchmark/benchmark.h>
#include <random>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

constexpr int kYears = 30;
constexpr std::size_t kRainRecord = 1470;
constexpr std::size_t kCardRecord = 170;

Bytes dayRecord(OleDate date, std::mt19937& random) {
    DayRecord day;
    day.date = date;
    day.maxLevel = static_cast<std::int16_t>(random() % 900 + 100);
    day.minLevel = static_cast<std::int16_t>(day.maxLevel - random() % 50);
    day.maxTime = OleDate::fromTime(static_cast<int>(random() % 24), 15, 0);
    day.minTime = OleDate::fromTime(static_cast<int>(random() % 24), 45, 0);
    day.meanValue = static_cast<float>(day.maxLevel + day.minLevel) / 2.0F;
    day.source = "LE korvel   ";
    day.rawDataFile = "Yen1-1  .-4 ";
    return serializeDayRecord(day);
}

Bytes emptyDays(int year) {
    Bytes file;
    for (OleDate date = OleDate::fromDate(year - 1, 10, 1); date < OleDate::fromDate(year, 10, 1);
         date = date.plusDays(1)) {
        DayRecord day;
        day.date = date;
        const Bytes record = serializeDayRecord(day);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

Bytes rainDay(std::mt19937& random) {
    Bytes record(kRainRecord, 0);
    const std::size_t start = 30 + random() % 1300;
    for (std::size_t minute = start; minute < start + 60 && minute < kRainRecord; ++minute)
        record[minute] = static_cast<std::uint8_t>(random() % 4);
    return record;
}

void journalOfThirtyYears(benchmark::State& state) {
    for (auto _ : state) {
        korvel::testing::ScratchDirectory scratch;
        const fs::path dir = scratch.path();
        JournalingWriter writer([] { return std::string("korvel logger convert hamdata.96"); }, {});
        const ScopedFileWriteJournal journaling(&writer);
        std::mt19937 random(30);
        writeFileAtomic(dir / "genel.tan", std::string_view("01-001,Ankara\r\n"));
        Bytes table(5758, 0);
        for (int year = 1995; year < 1995 + kYears; ++year) {
            const fs::path flow = dir / (std::to_string(year) + "_01-001.ard");
            const fs::path rain = dir / (std::to_string(year) + "_01-001  .yrd");
            writeFileAtomic(flow, emptyDays(year));
            writeFileAtomic(rain, Bytes(365 * kRainRecord, 0));
            for (int month = 0; month < 12; ++month) {
                std::map<std::size_t, Bytes> days, rainyDays;
                for (std::size_t day = 1; day <= 30; ++day)
                    days[month * 30 + day] =
                        dayRecord(OleDate::fromDate(year - 1, 10, 1).plusDays(month * 30 + day - 1), random);
                writeRecords(flow, DayRecord::kSize, days);
                for (int rainy = 0; rainy < 8; ++rainy)
                    rainyDays[month * 30 + random() % 30 + 1] = rainDay(random);
                writeRecords(rain, kRainRecord, rainyDays);
            }
            for (int correction = 0; correction < 20; ++correction) {
                const std::size_t day = random() % 360 + 1;
                writeRecords(
                    flow, DayRecord::kSize,
                    {{day,
                      dayRecord(OleDate::fromDate(year - 1, 10, 1).plusDays(static_cast<long long>(day) - 1),
                                random)}});
            }
            for (int row = 0; row < 10; ++row) {
                Bytes gauging(kCardRecord, ' ');
                for (std::size_t i = 0; i < 40; ++i)
                    gauging[i] = static_cast<std::uint8_t>('0' + random() % 10);
                writeRecords(dir / "01-001.olc", kCardRecord,
                             {{static_cast<std::size_t>((year - 1995) * 10 + row + 1), gauging}});
            }
            for (std::size_t i = 0; i < 400; ++i)
                table[random() % table.size()] = static_cast<std::uint8_t>(random());
            writeFileAtomic(dir / "01_01-001.HQ", table);
        }
        std::uintmax_t size = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            if (isJournalFileName(entry.path().filename().string()))
                size += entry.file_size();
        state.counters["journal_MB"] = static_cast<double>(size) / 1e6;
        state.counters["entries"] =
            static_cast<double>(ChangeJournal(dir, ChangeJournal::Access::read).entries().size());
    }
}

} // namespace

BENCHMARK(journalOfThirtyYears)->Iterations(1)->Unit(benchmark::kSecond);
