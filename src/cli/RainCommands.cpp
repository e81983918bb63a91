#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "rain/RainYearAnalysis.h"
#include "rain/RainYearSheet.h"
#include "store/RainYearFile.h"

#include <memory>

namespace korvel {

namespace {

std::string mmText(int tenths, const Locale& locale) {
    return locale.numberText(tenths / 10.0);
}

// One line per record: date, tag, daily total, rainy minutes and the heaviest minute.
Sheet rainYearSheet(const std::filesystem::path& file, const std::vector<RainDayRecord>& records,
                    const Locale& locale) {
    Sheet sheet;
    sheet.caption = file.filename().string();
    Table table(static_cast<int>(records.size()) + 1, 7);
    const char* headings[] = {"Kayıt",          " Tarih",      "Etiket", "Toplam (mm)",
                              "Yağışlı dakika", "En çok (mm)", "Saat"};
    for (int c = 0; c < 7; ++c)
        table.setCell(0, c, headings[c]);
    int yearTenths = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const RainDayRecord& record = records[i];
        const int row = static_cast<int>(i) + 1;
        int rainy = 0;
        int heaviest = 0;
        int heaviestMinute = 0;
        for (std::size_t m = 0; m < kMinutesPerDay; ++m) {
            const int v = record.minuteRain[m];
            rainy += v > 0;
            if (v > heaviest) {
                heaviest = v;
                heaviestMinute = static_cast<int>(m);
            }
        }
        const int total = dailyTotalTenths(record);
        yearTenths += total;
        table.setCell(row, 0, std::to_string(i + 1));
        table.setCell(row, 1, record.dayDate.isEmpty() ? std::string() : locale.shortDate(record.dayDate));
        table.setCell(row, 2, trimmedRight(record.recordTag.substr(0, record.recordTag.find('\0'))));
        table.setCell(row, 3, mmText(total, locale));
        table.setCell(row, 4, std::to_string(rainy));
        table.setCell(row, 5, mmText(heaviest, locale));
        table.setCell(row, 6,
                      heaviest > 0
                          ? locale.longTime(OleDate::fromTime(heaviestMinute / 60, heaviestMinute % 60, 0))
                          : std::string());
    }
    sheet.setTable("days", std::move(table));
    sheet.setText("records", std::to_string(records.size()));
    sheet.setText("total", mmText(yearTenths, locale));
    return sheet;
}

// The minutes of one day: 24 rows of hours by 60 columns of minutes, in millimetres.
Sheet rainDaySheet(const std::filesystem::path& file, const RainDayRecord& record, const Locale& locale) {
    Sheet sheet;
    sheet.caption = file.filename().string() + "  " + locale.shortDate(record.dayDate);
    Table table(25, 61);
    for (int m = 0; m < 60; ++m)
        table.setCell(0, m + 1, std::to_string(m));
    for (int h = 0; h < 24; ++h) {
        table.setCell(h + 1, 0, std::to_string(h));
        for (int m = 0; m < 60; ++m) {
            const int v = record.minuteRain[static_cast<std::size_t>(h * 60 + m)];
            table.setCell(h + 1, m + 1, v > 0 ? mmText(v, locale) : std::string());
        }
    }
    sheet.setTable("minutes", std::move(table));
    sheet.setText("total", mmText(dailyTotalTenths(record), locale));
    return sheet;
}

} // namespace

void addRainCommands(CLI::App& app, const ActionSlot& slot) {
    auto* rain = app.add_subcommand("rain", "rainfall-year files");
    rain->require_subcommand(1);

    auto* create = rain->add_subcommand("create", "create the rainfall-year file of a station");
    auto createArgs = std::make_shared<std::pair<std::string, std::string>>();
    create->add_option("DIR", createArgs->first, "station directory")->required();
    create->add_option("YEAR", createArgs->second, "water year (the year it ends in)")->required();
    create->callback([slot, createArgs] {
        slot([createArgs](CliContext& context) {
            const auto dir = context.existingDirectory(createArgs->first);
            parseYearArgument(trimmed(createArgs->second));
            const auto result = createRainYear(dir, createArgs->second, stationNumberOf(dir));
            if (!result.ok())
                throw CliError(result.error->message);
            if (context.json)
                context.printJson({{"file", result.path.string()}, {"records", kRainYearRecords}});
            else
                context.printLine(result.path.string());
        });
    });

    auto* dump =
        rain->add_subcommand("dump", "show the daily totals (or one day's minutes) of a rainfall-year file");
    auto dumpArgs = std::make_shared<std::pair<std::string, std::string>>();
    dump->add_option("FILE", dumpArgs->first, "rainfall-year file (*.yrd)")->required();
    dump->add_option("--day", dumpArgs->second, "show the minutes of this day (dd.mm.yyyy)");
    dump->callback([slot, dumpArgs] {
        slot([dumpArgs](CliContext& context) {
            const auto file = context.existingFile(dumpArgs->first);
            const auto records = parseRainYearFile(
                context.recordFile(file, kRainDayRecordSize, kRainYearFileSizeLimit, "rainfall-year file"));
            if (dumpArgs->second.empty()) {
                context.printSheet(rainYearSheet(file, records, context.locale));
                return;
            }
            const OleDate day = parseDateArgument(dumpArgs->second);
            const auto k = findRecordByDate(records, day);
            if (!k)
                throw CliError("no record of " + day.dateText() + " in " + file.string());
            context.printSheet(rainDaySheet(file, records[*k - 1], context.locale));
        });
    });

    auto* analyse = rain->add_subcommand(
        "analyse", "one-year rainfall analysis: daily grid, monthly summary and duration maxima");
    auto analyseFile = std::make_shared<std::string>();
    analyse->add_option("FILE", *analyseFile, "rainfall-year file (*.yrd)")->required();
    analyse->callback([slot, analyseFile] {
        slot([analyseFile](CliContext& context) {
            const auto file = context.existingFile(*analyseFile);
            const auto result = analyseRainYearFile(file);
            if (!result)
                throw CliError("cannot read " + file.string());
            if (!result->repairRefused.empty() && context.err != nullptr)
                *context.err << "korvel: " << file.filename().string() << ": " << result->repairRefused
                             << '\n';
            context.printSheet(rainYearAnalysisSheet(
                result->analysis, stationNumberOf(std::filesystem::absolute(file).parent_path()),
                context.locale));
        });
    });
}

} // namespace korvel
