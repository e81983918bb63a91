#include "cli/CliContext.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "store/StationSave.h"

#include <memory>

namespace korvel {

namespace {

Sheet stationSheet(const std::filesystem::path& dir, const StationRecord& record, const Locale& locale) {
    Sheet sheet;
    sheet.caption = dir.string();
    sheet.setText("stationNumber", record.stationNumber);
    sheet.setText("riverName", record.riverName);
    sheet.setText("stationName", record.stationName);
    sheet.setText("regionName", record.regionName);
    sheet.setText("openingDate", record.openingDate);
    sheet.setText("elevation", locale.numberText32(record.elevation));
    sheet.setText("drainageArea", locale.numberText32(record.drainageArea));
    sheet.setText("thiessenArea", locale.numberText32(record.thiessenArea));
    sheet.setText("coordinates", record.coordinates);
    sheet.setText("note", record.note);
    sheet.setText("phoneNumber", record.phoneNumber);
    sheet.setText("dialPrefix", record.dialPrefix);
    sheet.setText("modemHqFile", record.modemHqFile);
    sheet.setText("basinName", record.basinName);
    return sheet;
}

struct SaveArgs {
    StationEntry entry;
    std::string password;
    bool passwordGiven = false;
};

} // namespace

void addStationCommands(CLI::App& app, const ActionSlot& slot) {
    auto* station = app.add_subcommand("station", "station records");
    station->require_subcommand(1);

    auto* show = station->add_subcommand("show", "show the station record of a station directory");
    auto dir = std::make_shared<std::string>();
    show->add_option("DIR", *dir, "station directory")->required();
    show->callback([slot, dir] {
        slot([dir](CliContext& context) {
            const auto stationDir = context.existingDirectory(*dir);
            if (!fileExists(resolveCaseInsensitive(stationDir / std::string(kStationRecordFileName))))
                throw CliError("no genel.tan in " + stationDir.string());
            context.printSheet(stationSheet(stationDir, loadStationRecord(stationDir, ""), context.locale));
        });
    });

    auto* save = station->add_subcommand("save", "save a station record as the station screen does");
    auto args = std::make_shared<SaveArgs>();
    StationEntry& e = args->entry;
    save->add_option("--number", e.stationNumber, "station number, such as 01-001")->required();
    save->add_option("--region", e.regionName, "region name")->required();
    save->add_option("--drainage-area", e.drainageArea, "drainage area, km2")->required();
    save->add_option("--river", e.riverName, "river name");
    save->add_option("--name", e.stationName, "station name");
    save->add_option("--opening", e.openingDate, "opening date (free text)");
    save->add_option("--elevation", e.elevation, "gauge datum elevation, m");
    save->add_option("--thiessen", e.thiessenArea, "Thiessen weight");
    save->add_option("--coordinates", e.coordinates, "00.00.00K00.00.00D");
    save->add_option("--note", e.note, "description and remarks");
    save->add_option("--phone", e.phoneNumber, "telephone number of the logger modem");
    save->add_option("--dial-prefix", e.dialPrefix, "number dialled for an outside line");
    save->add_option("--modem-hq", e.modemHqFile, "rating table used for modem data");
    save->add_option("--basin", e.basinName, "basin name");
    save->add_option("--password", args->password,
                     "the station's modem password (asked when a phone is given)");
    save->callback([slot, args] {
        slot([args](CliContext& context) {
            std::optional<std::string> typedPassword;
            if (!args->password.empty())
                typedPassword = args->password;
            StationRecord loaded;
            const auto dir =
                stationDirectory(context.paths.dataRoot(), args->entry.regionName, args->entry.stationNumber);
            if (fileExists(resolveCaseInsensitive(dir / std::string(kStationRecordFileName))))
                loaded = loadStationRecord(dir, args->entry.regionName);
            const SaveStationResult result = saveStation(context.paths, args->entry, typedPassword, loaded);
            if (!result.saved)
                throw CliError(result.message);
            if (context.json) {
                nlohmann::json out{{"stationDir", result.stationDir.string()},
                                   {"mapPointStored", result.mapPointStored},
                                   {"message", result.message}};
                if (result.mapPosition)
                    out["mapPosition"] = {result.mapPosition->x, result.mapPosition->y};
                context.printJson(out);
            } else {
                context.printLine(result.stationDir.string());
                if (!result.message.empty())
                    context.printLine(result.message);
            }
        });
    });
}

} // namespace korvel
