#pragma once

#include <QWidget>
#include <filesystem>

namespace korvel {

struct AppContext;
class StationHub;
class FolderChainList;
class FileList;

// The file deletion screen: its caption is the standing warning. A click on a water-year or HQ
// file deletes it after the prompt; a click in the all-files list deletes the file and its
// companion side file.
class DeletionScreen : public QWidget {
    Q_OBJECT
public:
    DeletionScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // A click in the water-year or HQ list: the prompt with an empty answer; any answer deletes.
    void deleteListedFile(const QString& fileName);
    // A click in the all-files list: the prompt with the file name as its answer; any answer
    // deletes the file and its companion.
    void deleteWithCompanionFile(const QString& fileName);

    void setDirectory(const std::filesystem::path& dir);
    std::filesystem::path directory() const;
    void refreshLists();

private:
    bool confirmed(const QString& defaultAnswer);

    StationHub& hub_;
    FolderChainList* dirTree_;
    FileList* waterYearFiles_;
    FileList* hqFiles_;
    FileList* allFiles_;
};

} // namespace korvel
