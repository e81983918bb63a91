#pragma once

#include <QTreeWidget>
#include <filesystem>

namespace korvel {

// The directory tree of the station screen: the directories from the drive root down to the
// current one (open), with the current one's subdirectories under it (closed). Double click
// or Enter on an entry chooses that directory. The drive root shows as "c:\".
class DirectoryList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryList(std::filesystem::path driveRoot, QWidget* parent = nullptr);

    // Shows dir and its subdirectories; a directory that does not exist shows its path alone.
    void setDirectory(const std::filesystem::path& dir);
    const std::filesystem::path& directory() const { return directory_; }

    // The entry showing dir, null when none does.
    QTreeWidgetItem* entryOf(const std::filesystem::path& dir) const;
    static std::filesystem::path directoryOf(const QTreeWidgetItem* entry);

signals:
    void directoryChosen(const QString& path);

private:
    QTreeWidgetItem* addEntry(QTreeWidgetItem* parent, const std::filesystem::path& dir, const QString& text,
                              bool open);

    std::filesystem::path driveRoot_;
    std::filesystem::path directory_;
};

} // namespace korvel
