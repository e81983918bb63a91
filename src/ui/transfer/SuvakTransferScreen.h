#pragma once

#include "transfer/ImportReport.h"

#include <QWidget>
#include <filesystem>

class QListWidget;
class QPushButton;

namespace korvel {

struct AppContext;
class StationHub;
enum class SuvakFileKind;
class FolderChainList;
class DriveList;
class FileList;

// "Suvak programından korvel2000 e veri transferi" (`Transfer1frm`): the sibling program's
// level, HQ and measurement files of a source directory, taken one click at a time, or all at
// once, into the station directory chosen on the right, which becomes the current station.
class SuvakTransferScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Suvak programından korvel2000 e veri transferi");
    static inline const QString kAllDoneMessage = QStringLiteral("İşlem tamam");

    SuvakTransferScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // Command1: every file of File1, then File2, then File4; "İşlem tamam"; the result list.
    void transferAll();
    // The click on a file of File1 (HQ), File2 (levels) or File4 (measurements).
    void transferHqFile(const QString& fileName);
    void transferLevelFile(const QString& fileName);
    void transferMeasurementFile(const QString& fileName);

    void setSourceDirectory(const std::filesystem::path& dir);
    void setDestinationDirectory(const std::filesystem::path& dir);
    std::filesystem::path sourceDirectory() const;
    std::filesystem::path destinationDirectory() const;

    // The result list of the last command: the files left out and why.
    const ImportReport& lastReport() const { return report_; }

private:
    void destinationChanged();
    bool destinationIsStation();
    ImportOutcome transferOne(SuvakFileKind kind, const QString& fileName);
    void transferClicked(SuvakFileKind kind, const QString& fileName);

    const AppContext& context_;
    StationHub& hub_;
    DriveList* drive1_;
    FolderChainList* dir1_;
    FileList* file1_;
    FileList* file2_;
    FileList* file4_;
    FolderChainList* dir2_;
    FileList* file3_;
    QPushButton* command1_;
    QListWidget* resultList_;
    ImportReport report_;
};

} // namespace korvel
