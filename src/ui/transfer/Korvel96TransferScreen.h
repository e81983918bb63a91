#pragma once

#include "transfer/ImportReport.h"

#include <QWidget>
#include <filesystem>

class QCloseEvent;
class QListWidget;

namespace korvel {

struct AppContext;
class StationHub;
class FolderChainList;
class FileList;

// "Korvel96  programından korvel2000 e veri transferi" (`Transfer2frm`): the older program's
// download files of a source directory, each taken with one click, together with its
// station-texts file, into the water years of the station directory chosen on the right,
// which becomes the current station.
class Korvel96TransferScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption =
        QStringLiteral("Korvel96  programından korvel2000 e veri transferi");

    Korvel96TransferScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // File1_Click: the destination check, the station-number confirmation, the conversion.
    void transferFile(const QString& fileName);

    void setSourceDirectory(const std::filesystem::path& dir);
    void setDestinationDirectory(const std::filesystem::path& dir);
    std::filesystem::path sourceDirectory() const;
    std::filesystem::path destinationDirectory() const;

    // The result list of the last transfer: the file left out and why.
    const ImportReport& lastReport() const { return report_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void sourceChanged();
    void destinationChanged();
    // Moves the source tree to dir when it is a directory; otherwise it stays where it is.
    void openSourceIfPresent(const std::filesystem::path& dir);

    const AppContext& context_;
    StationHub& hub_;
    FolderChainList* dir1_;
    FileList* file1_;
    FolderChainList* dir2_;
    FileList* file2_;
    QListWidget* resultList_;
    ImportReport report_;
};

} // namespace korvel
