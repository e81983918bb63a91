#include "ui/instruments/LevelImageConversion.h"

#include "core/FileIO.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLogger.h"
#include "instruments/Reconversion.h"
#include "platform/Dialogs.h"
#include "ui/common/QtText.h"
#include "ui/instruments/StationNumberPrompt.h"

#include <QLineEdit>

namespace korvel {

bool storeAndConvertLevelImage(QWidget* screen, const AppContext& context, StationHub& hub,
                               const Bytes& image, QLineEdit* progress, std::size_t receivedEnd,
                               KeptDownload* kept) {
    try {
        writeRawLoggerDump(levelDumpPath(context.paths.korvel96Root()), image);
    } catch (const FileError& e) {
        showMessage(screen, QString::fromStdString(e.what()));
        return false;
    }
    progress->setText(qText(receivedEnd == kWholeImage ? kDownloadDone : kIncompleteDownload));
    return convertLevelImage(screen, context, hub, image, progress, receivedEnd, kept);
}

bool convertLevelImage(QWidget* screen, const AppContext& context, StationHub& hub, const Bytes& image,
                       QLineEdit* progress, std::size_t receivedEnd, KeptDownload* kept) {
    const CurrentStation& station = hub.current();
    if (station.stationDir.empty()) {
        showMessage(screen, QString::fromUtf8("Lütfen istasyon secimin yapınız"));
        return false;
    }
    const LevelDumpHeader header = readLevelDumpHeader(image);
    const auto number = confirmStationNumber(screen, header.stationNumber, station.record.stationNumber);
    if (!number)
        return false;
    try {
        const LevelConversionResult result =
            convertLevelDump(image, *number, {station.stationDir, context.paths.korvel96Root()}, receivedEnd);
        if (kept && fileExists(kept->description))
            noteConversion(*kept, localNow(), *number,
                           result.converted ? levelConversionFiles(result, station.stationDir, *number)
                                            : std::vector<std::string>{},
                           result.converted ? std::to_string(result.days.size()) + " gün yazıldı"
                                            : result.message);
        if (!result.converted) {
            if (result.message == kNoRecordedDate)
                progress->setText(qText(kNoRecordedDate));
            else
                showMessage(screen, QString::fromStdString(result.message));
            return false;
        }
        if (receivedEnd != kWholeImage) {
            hub.refreshFileLists();
            showMessage(screen, QString::fromStdString(
                                    incompleteDownloadMessage(result.days.size(), result.missingDays)));
            return true;
        }
    } catch (const FileError& e) {
        showMessage(screen, QString::fromStdString(e.what()));
        return false;
    }
    hub.refreshFileLists();
    return true;
}

} // namespace korvel
