#include "DemoDrive.h"

#include "DemoData.h"
#include "DemoReadings.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "store/HqGrid.h"
#include "store/HqTable.h"
#include "store/MeasurementCard.h"
#include "store/RainYearFile.h"
#include "store/StationMap.h"
#include "store/StationSave.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace korvel::demo {

namespace fs = std::filesystem;

namespace {

constexpr int kFirstYear = 2003;
constexpr int kLastYear = 2004;
// The long record before the logger came: rainfall from water year 1993, flow from 1995.
constexpr int kFirstRainYear = 1993;
constexpr int kFirstFlowYear = 1995;

struct DemoStation {
    StationEntry entry;
    int mapColumn;
    int mapRow;
    bool flow;
    RiverShape river;
    double zeroLevel;
    double dischargeAt300; // m3/s
    double rainScale;
    int rainLag;
    bool loggerBatteryFailed = false; // ten days of January 2004 missing
};

std::string coordinatesAt(int column, int row) {
    const MapCodes codes = mapCodes(column, row);
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.00K%02d.%02d.00D", codes.latitudeDegrees,
                  codes.latitudeMinutes, codes.longitudeDegrees, codes.longitudeMinutes);
    return text;
}

std::vector<DemoStation> demoStations() {
    DemoStation yenice;
    yenice.entry.stationNumber = "01-001";
    yenice.entry.regionName = "Ankara";
    yenice.entry.riverName = "Değirmen Çayı";
    yenice.entry.stationName = "Yenice Köprüsü";
    yenice.entry.openingDate = "12.05.1998";
    yenice.entry.elevation = "845.5";
    yenice.entry.drainageArea = "126.4";
    yenice.entry.thiessenArea = "0.35";
    yenice.entry.note = "Köprü ayağında eşel ve şamandıralı limnigraf; kış aylarında eşel okunur.";
    yenice.entry.basinName = "Kızılırmak";
    yenice.entry.modemHqFile = "02_01-001.HQ";
    // The logger behind the modem: "korvel-sim --device modem" answers any number.
    yenice.entry.dialPrefix = "0";
    yenice.entry.phoneNumber = "3124567";
    yenice.mapColumn = 262;
    yenice.mapRow = 118;
    yenice.flow = true;
    yenice.loggerBatteryFailed = true;
    yenice.river = RiverShape{70.0, 140.0, 260.0};
    yenice.zeroLevel = 22.0;
    yenice.dischargeAt300 = 5.2;
    yenice.rainScale = 1.0;
    yenice.rainLag = 0;

    DemoStation karaagac = yenice;
    karaagac.entry.stationNumber = "01-002";
    karaagac.entry.riverName = "Kavak Deresi";
    karaagac.entry.stationName = "Karaağaç";
    karaagac.entry.openingDate = "03.10.2000";
    karaagac.entry.elevation = "912.25";
    karaagac.entry.drainageArea = "58.7";
    karaagac.entry.thiessenArea = "0.4";
    karaagac.entry.note = "Menfez mansabında beton kesit.";
    karaagac.entry.modemHqFile = "";
    karaagac.entry.dialPrefix = "";
    karaagac.entry.phoneNumber = "";
    karaagac.loggerBatteryFailed = false;
    karaagac.mapColumn = 255;
    karaagac.mapRow = 110;
    karaagac.river = RiverShape{45.0, 95.0, 180.0};
    karaagac.zeroLevel = 15.0;
    karaagac.dischargeAt300 = 2.9;
    karaagac.rainScale = 1.15;
    karaagac.rainLag = 12;

    DemoStation camlidere = yenice;
    camlidere.entry.stationNumber = "01-003";
    camlidere.entry.riverName = "";
    camlidere.entry.stationName = "Çamlıdere Yağış";
    camlidere.entry.openingDate = "20.06.2001";
    camlidere.entry.elevation = "1210";
    camlidere.entry.drainageArea = "1";
    camlidere.entry.thiessenArea = "0.25";
    camlidere.entry.note = "Devrilen kovalı yağış ölçer.";
    camlidere.entry.modemHqFile = "";
    camlidere.entry.dialPrefix = "";
    camlidere.entry.phoneNumber = "";
    camlidere.mapColumn = 250;
    camlidere.mapRow = 104;
    camlidere.flow = false;
    camlidere.rainScale = 1.3;
    camlidere.rainLag = 25;
    return {yenice, karaagac, camlidere};
}

// The day as the level sheet or the logger download would have written it.
DayRecord dayRecordOf(const LevelDay& day, int previousAfternoon, int nextMorning) {
    DayRecord record;
    record.date = day.date;
    record.rawDataFile = std::string(DayRecord::kTextWidth, ' ');
    switch (day.kind) {
    case DayKind::Missing:
        break;
    case DayKind::Logger:
        record.maxLevel = static_cast<std::int16_t>(day.maxLevel);
        record.maxTime = OleDate::fromTime(day.maxMinute / 60, day.maxMinute % 60, 0);
        record.minLevel = static_cast<std::int16_t>(day.minLevel);
        record.minTime = OleDate::fromTime(day.minMinute / 60, day.minMinute % 60, 0);
        record.meanValue = static_cast<float>(day.meanLevel);
        record.source = "L  korvelmaş";
        break;
    case DayKind::StaffTwo:
    case DayKind::StaffOne: {
        // Readings at 08:00 and 16:00; the afternoon one is missing on one-reading days.
        const int morning = day.maxMinute < 720 ? day.maxLevel : day.minLevel;
        const int afternoon =
            day.kind == DayKind::StaffTwo ? (day.maxMinute < 720 ? day.minLevel : day.maxLevel) : 0;
        const bool afternoonHigher = afternoon > morning;
        record.maxLevel = static_cast<std::int16_t>(afternoonHigher ? afternoon : morning);
        record.maxTime = OleDate::fromTime(afternoonHigher ? 16 : 8, 0, 0);
        record.minLevel = static_cast<std::int16_t>(afternoonHigher ? morning : afternoon);
        record.minTime = afternoon == 0 ? OleDate() : OleDate::fromTime(afternoonHigher ? 8 : 16, 0, 0);
        // The level sheet's time-weighted daily means.
        const double mean = afternoon == 0
                                ? (previousAfternoon + 13.0 * morning + 4.0 * nextMorning) / 18.0
                                : (previousAfternoon + 5.0 * morning + 5.0 * afternoon + nextMorning) / 12.0;
        record.meanValue = static_cast<float>(roundHalfEven(mean));
        record.source = day.kind == DayKind::StaffTwo ? "R 2 " : "R 1 ";
        record.source.resize(DayRecord::kTextWidth, ' ');
        break;
    }
    }
    return record;
}

// The records of the days that were read, each naming its readings file when it has one.
std::vector<DayRecord> dayRecordsOf(const std::vector<LevelDay>& levels, const DemoReadingsFiles& readings) {
    std::vector<DayRecord> days;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LevelDay& day = levels[i];
        if (day.kind == DayKind::Missing)
            continue;
        const int previousAfternoon = i > 0 ? levels[i - 1].minLevel : day.minLevel;
        const int nextMorning = i + 1 < levels.size() ? levels[i + 1].maxLevel : day.maxLevel;
        DayRecord record = dayRecordOf(day, previousAfternoon, nextMorning);
        if (const auto file = readings.fileOfDay.find(day.date.value()); file != readings.fileOfDay.end())
            record.rawDataFile = file->second;
        days.push_back(std::move(record));
    }
    return days;
}

// Winter of the first year read from the staff gauge, the rest from the logger; at a station
// whose logger battery went flat, ten days of January 2004 are lost, so that its water year
// 2004 can be completed from the other flow station.
DayKind kindOfDay(OleDate date, bool batteryFailed) {
    const CivilDate d = date.date();
    if (batteryFailed && d.year == 2004 && d.month == 1 && d.day >= 12 && d.day <= 21)
        return DayKind::Missing;
    const bool staffSeason = (d.year == 2002 && d.month >= 10) || (d.year == 2003 && d.month <= 2);
    if (!staffSeason)
        return DayKind::Logger;
    return d.day % 7 == 0 ? DayKind::StaffOne : DayKind::StaffTwo;
}

// The station's days, and the logger's readings files behind the logger days written into `dir`.
std::vector<DayRecord> flowDays(const fs::path& dir, const DemoStation& station, DemoRandom& random) {
    std::vector<LevelDay> levels =
        synthesizeLevels(firstDayOfWaterYear(kFirstYear), firstDayOfWaterYear(kLastYear + 1).plusDays(-1),
                         station.river, random);
    for (auto& day : levels)
        day.kind = kindOfDay(day.date, station.loggerBatteryFailed);
    const DemoReadingsFiles readings = demoReadingsFiles(levels, station.entry.stationName);
    for (const auto& [name, bytes] : readings.files)
        writeFileAtomic(dir / name, bytes);

    return dayRecordsOf(levels, readings);
}

// A table keyed every ten levels from the first wet level up to 600 and gap-filled as the
// rating screen fills it, valid for one water year.
void writeRatingTable(const fs::path& dir, const DemoStation& station, int number, int waterYear,
                      double shift) {
    const auto curve = ratingCurve(station.zeroLevel + shift, station.dischargeAt300);
    HqGridCells cells(990);
    for (std::size_t level = 10; level <= 600; level += 10)
        if (curve[level] > 0.0f)
            cells[level] = std::round(curve[level] * 1000.0) / 1000.0;
    HqTable table;
    fillGaps(cells, table.keyFlags);
    const std::vector<HqPeriodRow> periods{
        {firstDayOfWaterYear(waterYear), firstDayOfWaterYear(waterYear + 1).plusDays(-1)}};
    applyGridToTable(table, cells, periods, "Hidrometri Şubesi", OleDate::fromDate(waterYear - 1, 9, 20),
                     "Akım ölçümlerinden çıkarılan anahtar eğrisi.");
    const fs::path file = createHqTable(dir, number, station.entry.stationNumber);
    writeHqTable(file, table);
}

void writeMeasurementCard(const fs::path& dir, const DemoStation& station, DemoRandom& random) {
    const auto curve = ratingCurve(station.zeroLevel, station.dischargeAt300);
    const fs::path card = dir / measurementCardFileName(station.entry.stationNumber);
    const char* people[] = {"Ahmet Yılmaz", "Ayşe Demir", "Mehmet Öztürk"};
    for (std::size_t row = 1; row <= 10; ++row) {
        MeasurementCard m;
        m.measurementDate =
            OleDate::fromDate(2002 + static_cast<int>((row + 9) / 6), static_cast<int>((row * 5) % 12) + 1,
                              static_cast<int>(3 + row));
        m.measuredBy = people[row % 3];
        m.gaugeLevel = static_cast<std::int16_t>(random.integer(60, 320));
        // The card keeps litres per second; the rating tables give cubic metres.
        const double q = curve[static_cast<std::size_t>(m.gaugeLevel)] * 1000.0 * random.between(0.95, 1.05);
        m.sectionWidth = static_cast<float>(std::round(random.between(6.0, 9.0) * 10.0) / 10.0);
        m.meanVelocity = static_cast<float>(std::round(random.between(0.2, 1.1) * 1000.0) / 1000.0);
        m.sectionArea = static_cast<float>(std::round(q / 1000.0 / m.meanVelocity * 1000.0) / 1000.0);
        m.measuredDischarge = static_cast<float>(std::round(q * 1000.0) / 1000.0);
        m.measurementMethod = row % 4 == 0 ? "Köprüden" : "Muline";
        m.measurementGrade = row % 3 == 0 ? "Orta" : "İyi";
        m.remark = row == 4 ? "Yosunlu kesit" : "";
        m.errorPercent = static_cast<std::int16_t>(random.integer(2, 8));
        m.shiftMm = static_cast<std::int16_t>(row % 5 == 0 ? random.integer(-10, 10) : 0);
        writeMeasurementRow(card, row, m);
    }
}

// A standard normal draw from two uniform ones (Box-Muller), the same on every machine.
double standardNormal(DemoRandom& random) {
    constexpr double kTwoPi = 6.283185307179586;
    const double u = 1.0 - random.uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(kTwoPi * random.uniform());
}

// Some thirty gaugings over four water years: each discharge is the station's rating table
// (the one valid on the day, else the first) at the gauged level, in m3/s, with the scatter of
// its estimated error, written on the card in l/s. One gauging in a weedy section reads high.
void writeGaugingCard(const fs::path& dir, const DemoStation& station) {
    constexpr double kLitresPerCubicMetre = 1000.0;
    const HqTableSet tables = loadHqTableSet(dir);
    if (tables.entries.empty())
        return;
    const fs::path card = dir / measurementCardFileName(station.entry.stationNumber);
    std::error_code ignored;
    fs::remove(card, ignored);
    DemoRandom random(1604);
    const char* people[] = {"Ahmet Yılmaz", "Ayşe Demir", "Mehmet Öztürk", "Zeynep Kaya"};
    OleDate day = OleDate::fromDate(2000, 10, 16);
    for (std::size_t row = 1; day < firstDayOfWaterYear(kLastYear + 1); ++row) {
        MeasurementCard m;
        m.measurementDate = day;
        m.measuredBy = people[random.integer(0, 3)];
        // Mostly low and middle flows, now and then a flood.
        const double u = random.uniform();
        m.gaugeLevel = static_cast<std::int16_t>(std::round(48.0 + 390.0 * u * u));
        const auto found = lookupDischarge(tables, day, m.gaugeLevel);
        const double rated =
            found ? found->discharge
                  : dischargeAtLevel(tables.entries.front().table, m.gaugeLevel).value_or(0.0f);
        m.errorPercent = static_cast<std::int16_t>(random.integer(3, 8));
        const bool weedy = row == 17;
        // The estimated error is taken as twice the standard error of the gauging.
        const double scatter = weedy ? 0.22 : m.errorPercent / 200.0 * standardNormal(random);
        const double q = rated * (1.0 + scatter);
        m.meanVelocity = static_cast<float>(std::round((0.15 + 0.002 * m.gaugeLevel) * 1000.0) / 1000.0);
        m.sectionWidth = static_cast<float>(std::round((6.5 + 0.006 * m.gaugeLevel) * 10.0) / 10.0);
        m.sectionArea = static_cast<float>(std::round(q / m.meanVelocity * 1000.0) / 1000.0);
        m.measuredDischarge = static_cast<float>(std::round(q * kLitresPerCubicMetre * 10.0) / 10.0);
        m.measurementMethod = m.gaugeLevel > 300 ? "Köprüden" : "Muline";
        m.measurementGrade = m.errorPercent <= 5 ? "İyi" : "Orta";
        m.remark = weedy ? "Yosunlu kesit, akım yüksek okunmuş olabilir" : "";
        writeMeasurementRow(card, row, m);
        day = day.plusDays(random.integer(38, 58));
    }
}

void writeRainYears(const fs::path& dir, const DemoStation& station, const std::vector<Storm>& storms,
                    int firstYear = kFirstYear, int lastYear = kLastYear) {
    std::vector<DownloadedRainDay> days;
    for (OleDate day = firstDayOfWaterYear(firstYear); day < firstDayOfWaterYear(lastYear + 1);
         day = day.plusDays(1)) {
        const auto minutes = gaugeRainOfDay(storms, day, station.rainScale, station.rainLag);
        DownloadedRainDay downloaded{day, {}};
        for (int m = 0; m < 1440; ++m)
            if (minutes[static_cast<std::size_t>(m)] > 0)
                downloaded.tipCounts[m] = minutes[static_cast<std::size_t>(m)];
        days.push_back(std::move(downloaded));
    }
    const auto result = writeDownloadedRain(dir, station.entry.stationNumber, days, 1);
    if (!result.ok())
        throw std::runtime_error(result.errors.front().message);
}

// The water years before the logger, read from the staff gauge twice a day (once on every
// seventh day), rated by a second period of table 01.
void writeEarlierFlowYears(const fs::path& dir, const DemoStation& station, DemoRandom& random) {
    const std::string& number = station.entry.stationNumber;
    for (int year = kFirstFlowYear; year < kFirstYear; ++year)
        createWaterYear(dir, year, number);
    std::vector<LevelDay> levels =
        synthesizeLevels(firstDayOfWaterYear(kFirstFlowYear), firstDayOfWaterYear(kFirstYear).plusDays(-1),
                         station.river, random);
    for (auto& day : levels)
        day.kind = day.date.day() % 7 == 0 ? DayKind::StaffOne : DayKind::StaffTwo;
    writeDays(dir, number, dayRecordsOf(levels, DemoReadingsFiles{}));
    const fs::path file = dir / hqTableFileName(1, number);
    HqTable table = readHqTable(file);
    table.validFrom[2] = firstDayOfWaterYear(kFirstFlowYear);
    table.validTo[2] = firstDayOfWaterYear(kFirstYear).plusDays(-1);
    writeHqTable(file, table);
}

} // namespace

std::vector<fs::path> writeDemoDrive(const fs::path& drive) {
    std::error_code ec;
    fs::create_directories(drive, ec);
    const Paths paths(drive);
    fs::create_directories(paths.dataRoot(), ec);
    if (ec)
        throw std::runtime_error("cannot create " + paths.dataRoot().string());
    // Start from an empty map index so that repeated runs write the same bytes.
    fs::remove(paths.dataRoot() / std::string(kStationMapFileName), ec);

    DemoRandom random(20041);
    DemoRandom rainRandom(1999);
    const auto storms =
        synthesizeStorms(firstDayOfWaterYear(kFirstYear), firstDayOfWaterYear(kLastYear + 1), rainRandom);
    DemoRandom earlierRandom(1994);
    DemoRandom earlierRainRandom(1993);
    const auto earlierStorms = synthesizeStorms(
        firstDayOfWaterYear(kFirstRainYear), firstDayOfWaterYear(kFirstYear).plusDays(-1), earlierRainRandom);

    std::vector<fs::path> stationDirs;
    for (DemoStation station : demoStations()) {
        station.entry.coordinates = coordinatesAt(station.mapColumn, station.mapRow);
        const auto saved = saveStation(paths, station.entry, std::nullopt, StationRecord());
        if (!saved.saved)
            throw std::runtime_error(saved.message);
        const fs::path dir = saved.stationDir;
        // A rerun rewrites the station's files from scratch.
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().filename() != "genel.tan")
                fs::remove(entry.path(), ec);
        stationDirs.push_back(dir);

        if (station.flow) {
            for (int year = kFirstYear; year <= kLastYear; ++year)
                createWaterYear(dir, year, station.entry.stationNumber);
            writeDays(dir, station.entry.stationNumber, flowDays(dir, station, random));
            writeRatingTable(dir, station, 1, kFirstYear, 0.0);
            writeRatingTable(dir, station, 2, kLastYear, 4.0);
            writeMeasurementCard(dir, station, random);
            writeEarlierFlowYears(dir, station, earlierRandom);
            if (station.entry.stationNumber == "01-001")
                writeGaugingCard(dir, station);
        }
        writeRainYears(dir, station, storms);
        writeRainYears(dir, station, earlierStorms, kFirstRainYear, kFirstYear - 1);
    }

    std::vector<fs::path> files{paths.dataRoot() / std::string(kStationMapFileName)};
    for (const auto& dir : stationDirs)
        for (const auto& entry : fs::directory_iterator(dir))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace korvel::demo
