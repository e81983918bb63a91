#include "ui/station/NewYearCommands.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "platform/Dialogs.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <stdexcept>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr int kFirstYear = 101;
constexpr int kLastYear = 9999;

// A whole year typed into the prompt; nothing for any other answer.
std::optional<int> yearOfAnswer(const QString& answer) {
    const QString text = answer.trimmed();
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int year = text.toInt();
    if (year < kFirstYear || year > kLastYear)
        return std::nullopt;
    return year;
}

bool hasStation(const StationHub& station) {
    return !trimmed(station.current().record.stationNumber).empty();
}

} // namespace

QString proposedWaterYear(const fs::path& stationDir, const QDate& today) {
    const std::vector<std::string> files = listFiles(stationDir, "*.ard");
    if (files.empty())
        return QString::number(today.year());
    const double year = numericValue(utf8Left(files.back(), 4));
    return QString::number(static_cast<long long>(roundHalfEven(year)) + 1);
}

std::optional<fs::path> addWaterYear(QWidget* parent, StationHub& station, const QDate& today) {
    if (!hasStation(station)) {
        showMessage(parent, kNoStationMessage);
        return std::nullopt;
    }
    const fs::path dir = station.current().stationDir;
    const auto answer = askText(parent, kWaterYearPrompt, proposedWaterYear(dir, today));
    if (!answer)
        return std::nullopt;
    const std::optional<int> year = yearOfAnswer(*answer);
    if (!year)
        return std::nullopt;
    CreatedWaterYear created;
    try {
        created = createWaterYear(dir, *year, trimmed(station.current().record.stationNumber));
    } catch (const FileError&) {
        showMessage(parent, QStringLiteral("Su yılı dosyası oluşturulamadı: %1")
                                .arg(QString::fromStdString(waterYearFileName(
                                    *year, trimmed(station.current().record.stationNumber)))));
        return std::nullopt;
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
    if (created.alreadyExisted)
        return std::nullopt;
    station.refreshFileLists();
    return created.file;
}

std::optional<fs::path> addRainYear(QWidget* parent, StationHub& station) {
    if (!hasStation(station)) {
        showMessage(parent, kNoStationMessage);
        return std::nullopt;
    }
    const auto answer = askText(parent, kRainYearPrompt);
    if (!answer)
        return std::nullopt;
    const CreateRainYearResult result =
        createRainYear(station.current().stationDir, answer->trimmed().toStdString(),
                       station.current().record.stationNumber);
    if (!result.ok()) {
        showMessage(parent, QString::fromStdString(result.error->message));
        return std::nullopt;
    }
    station.refreshFileLists();
    return result.path;
}

} // namespace korvel
