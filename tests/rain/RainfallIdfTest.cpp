#include "rain/RainfallIdf.h"

#include "common/Dates.h"
#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "rain/IdfSheet.h"
#include "rain/RainYearBytes.h"
#include "store/RainYearFile.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::day;
using korvel::testing::ScratchDirectory;

namespace {

// A year file with `tenths` of rain in each of `minutes` minutes from 14:00 on the given day.
std::vector<RainDayRecord> yearWithStorm(int endYear, OleDate date, int minutes, int tenths) {
    std::vector<RainDayRecord> records = newRainYearRecords(endYear);
    const auto k = findRecordByDate(records, date);
    for (int m = 0; m < minutes; ++m)
        records[*k - 1].minuteRain[static_cast<std::size_t>(14 * 60 + m)] = static_cast<std::uint8_t>(tenths);
    return records;
}

TEST(RainfallIdf, StationYearsGiveTheirDurationMaximaAndLeaveOutTheUnfitOnes) {
    ScratchDirectory dir;
    writeFileAtomic(dir / rainYearFileName(2004, "01-003"),
                    korvel::testing::rainYearBytes(yearWithStorm(2004, day(2004, 6, 3), 30, 12)));
    writeFileAtomic(dir / rainYearFileName(2003, "01-003"),
                    korvel::testing::rainYearBytes(yearWithStorm(2003, day(2002, 11, 5), 5, 40)));
    // Made for the year but never filled: no rain at all.
    writeFileAtomic(dir / rainYearFileName(2005, "01-003"),
                    korvel::testing::rainYearBytes(newRainYearRecords(2005)));
    // Only the first 150 days were ever written.
    auto part = yearWithStorm(2006, day(2005, 10, 20), 10, 30);
    part.resize(150);
    writeFileAtomic(dir / rainYearFileName(2006, "01-003"), korvel::testing::rainYearBytes(part));
    writeFileAtomic(dir / "yağış.yrd", Bytes(1470, 0));

    const StationRainMaxima station = collectRainMaxima(dir.path());
    const AnnualMaxima& maxima = station.maxima;
    EXPECT_EQ(maxima.years, (std::vector<int>{2003, 2004}));
    ASSERT_EQ(maxima.durations.size(), 12u);
    EXPECT_EQ(maxima.durations[3], 15);
    // 2003: 4.0 mm a minute for 5 minutes; 2004: 1.2 mm a minute for 30 minutes.
    EXPECT_EQ(maxima.depths[0][0], 4.0);
    EXPECT_EQ(maxima.depths[0][3], 20.0);
    EXPECT_EQ(maxima.depths[1][3], 18.0);
    EXPECT_EQ(maxima.depths[1][11], 36.0);
    ASSERT_TRUE(maxima.starts[1][3]);
    EXPECT_EQ(maxima.starts[1][3]->dateText(), "03.06.2004");
    EXPECT_EQ(maxima.starts[1][3]->time().hour, 14);

    ASSERT_EQ(station.leftOut.size(), 3u);
    EXPECT_EQ(station.leftOut[0].file, "yağış.yrd");
    EXPECT_EQ(station.leftOut[0].reason, "dosya adı bir yılla başlamıyor");
    EXPECT_EQ(station.leftOut[1].file, rainYearFileName(2005, "01-003"));
    EXPECT_EQ(station.leftOut[1].reason, "yıl boyunca hiç yağış kaydı yok");
    EXPECT_EQ(station.leftOut[2].reason, "yılın 365 gününden yalnız 150 günü kayıtlı");
    EXPECT_EQ(skippedFilesText({station.leftOut[0]}),
              "Dışarıda bırakılan dosyalar: yağış.yrd (dosya adı bir yılla başlamıyor)");
    // Nothing was written back.
    EXPECT_EQ(korvel::testing::fileBytes(dir / rainYearFileName(2006, "01-003")).size(), 150u * 1470u);
}

TEST(RainfallIdf, ReadsAMaximaTableInEitherCsvDialect) {
    const MaximaCsv semicolon =
        parseMaximaCsv("yıl;60;15\r\n2001;20,5;11\r\n1999;18;\r\n\r\n2000;30;16,25\r\n");
    ASSERT_TRUE(semicolon.maxima) << semicolon.error;
    const AnnualMaxima& m = *semicolon.maxima;
    EXPECT_EQ(m.durations, (std::vector<int>{15, 60}));
    EXPECT_EQ(m.years, (std::vector<int>{1999, 2000, 2001}));
    EXPECT_FALSE(m.depths[0][0]);
    EXPECT_EQ(m.depths[0][1], 18.0);
    EXPECT_EQ(m.depths[1][0], 16.25);
    EXPECT_EQ(m.depths[2][1], 20.5);

    const MaximaCsv comma = parseMaximaCsv("year,5,10\n1990,7.5,9\n");
    ASSERT_TRUE(comma.maxima) << comma.error;
    EXPECT_EQ(comma.maxima->depths[0][0], 7.5);
}

TEST(RainfallIdf, RefusesAMaximaTableItCannotTrust) {
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "tablo boş"},
        {"yıl;on beş\n2001;3\n", "başlık satırının 2. alanı dakika cinsinden bir süre değil: \"on beş\""},
        {"yıl;15;15\n", "15 dakikalık süre iki kez var"},
        {"yıl;15\n2001;3\n2001;4\n", "3. satır: 2001 yılı iki kez var"},
        {"yıl;15\n2001;-3\n", "2. satır: yağış yüksekliği değil: \"-3\""},
        {"yıl;15\n2001;3;4\n", "2. satır: başlıktakinden fazla alan var"},
        {"yıl;15\nikibin;3\n", "2. satır: yıl değil: \"ikibin\""},
    };
    for (const auto& [text, message] : bad) {
        const MaximaCsv csv = parseMaximaCsv(text);
        EXPECT_FALSE(csv.maxima) << text;
        EXPECT_EQ(csv.error, message) << text;
    }
}

TEST(RainfallIdf, FitsEveryDurationWithEnoughYearsAndGrowsWithTheReturnPeriod) {
    const MaximaCsv csv = parseMaximaCsv("yıl;15;60\n"
                                         "1995;12;21\n1996;18;30\n1997;9,5;\n1998;22;35\n1999;14;25\n"
                                         "2000;11;20\n2001;16;\n2002;25;41\n");
    ASSERT_TRUE(csv.maxima);
    const IdfAnalysis idf = computeIdf(*csv.maxima, 200);
    ASSERT_EQ(idf.fits.size(), 2u);
    EXPECT_EQ(idf.fits[0].sampleSize, 8u);
    EXPECT_TRUE(idf.fits[0].gumbel && idf.fits[0].gev);
    EXPECT_EQ(idf.fits[1].sampleSize, 6u);
    for (const IdfQuantiles* q : {&idf.gumbel, &idf.gev})
        for (std::size_t t = 1; t < idf.returnPeriods.size(); ++t) {
            EXPECT_GT(*q->depth[0][t], *q->depth[0][t - 1]);
            EXPECT_LE((*q->interval[0][t])[0], *q->depth[0][t]);
            EXPECT_GE((*q->interval[0][t])[1], *q->depth[0][t]);
        }
    // Each duration draws its own fixed stream: a table without the hour repeats the
    // quarter hour exactly.
    const MaximaCsv quarter = parseMaximaCsv("yıl;15\n1995;12\n1996;18\n1997;9,5\n1998;22\n1999;14\n"
                                             "2000;11\n2001;16\n2002;25\n");
    const IdfAnalysis alone = computeIdf(*quarter.maxima, 200);
    EXPECT_EQ(alone.gev.interval[0], idf.gev.interval[0]);

    // Four years of an hour are too few to fit.
    const MaximaCsv few = parseMaximaCsv("yıl;60\n1995;21\n1996;30\n1997;31\n1998;35\n");
    const IdfAnalysis none = computeIdf(*few.maxima, 200);
    EXPECT_FALSE(none.fits[0].gumbel);
    EXPECT_FALSE(none.gumbel.depth[0][0]);

    const Sheet sheet = idfSheet(idf, ExtremeDistribution::Gumbel, "01-003", {}, Locale::turkish());
    const Table* intensity = sheet.findTable("intensity");
    ASSERT_TRUE(intensity);
    EXPECT_EQ(intensity->cell(0, 5), "50 yıl");
    EXPECT_EQ(intensity->cell(1, 0), "15 dk");
    // 15 minutes: four times the depth per hour.
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.1f", *idf.gumbel.depth[0][4] * 4.0);
    std::string text = expected;
    std::replace(text.begin(), text.end(), '.', ',');
    EXPECT_EQ(intensity->cell(1, 5), text);
}

} // namespace
