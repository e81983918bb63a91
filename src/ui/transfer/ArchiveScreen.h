#pragma once

#include "transfer/ImportReport.h"

#include <QWidget>
#include <filesystem>

class QListWidget;
class QPushButton;

namespace korvel {

struct AppContext;
class StationHub;
class FolderChainList;
class DriveList;
class FileList;

// "Korvel2000 datalarını sıkıştırma / açma & arşivleme...": station files compressed one by one
// into "<file>.zip" archives of an exchange directory, and such archives extracted back into a
// station directory.
class ArchiveScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption =
        QStringLiteral("Korvel2000 datalarını sıkıştırma / açma & arşivleme...");

    ArchiveScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // A click in the station side list: compress that file into the exchange directory.
    void packFile(const QString& fileName);
    // "Tamamını sıkıştırarak yolla  >>>"
    void packAll();
    // A click in the exchange list: extract that archive into the station side directory.
    void unpackArchive(const QString& archiveName);
    // "<<<  Tamamını Korvel2000'e aç"
    void unpackAll();

    void setStationDirectory(const std::filesystem::path& dir);
    void setExchangeDirectory(const std::filesystem::path& dir);
    std::filesystem::path stationDirectory() const;
    std::filesystem::path exchangeDirectory() const;

    // The archives and files of the last command that were refused, with the reasons.
    const ImportReport& lastReport() const { return report_; }

private:
    bool packOne(const QString& fileName);
    void unpackOne(const QString& archiveName);
    bool stationSideIsStation();

    const AppContext& context_;
    StationHub& hub_;
    FolderChainList* stationTree_;
    FileList* stationFiles_;
    DriveList* exchangeDrive_;
    FolderChainList* exchangeTree_;
    FileList* exchangeFiles_;
    QPushButton* packAllButton_;
    QPushButton* unpackAllButton_;
    QListWidget* resultList_;
    ImportReport report_;
};

} // namespace korvel
