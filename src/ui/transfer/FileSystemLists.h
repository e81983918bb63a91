#pragma once

#include "core/Paths.h"

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <filesystem>

namespace korvel {

// How the drive root that stands for "c:\" is shown in a directory tree.
inline const QString kDriveRootText = QStringLiteral("c:\\");

QString pathText(const std::filesystem::path& path);
std::filesystem::path pathOf(const QString& text);

// The drives a directory tree can start from: the drive root that stands for "c:\" first,
// then the roots of the mounted volumes.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    DriveList(const QString& objectName, const Paths& paths, QWidget* parent = nullptr);

    std::filesystem::path drive() const;
    // Chooses the drive holding the path (adding it when no listed drive does).
    void setDrive(const std::filesystem::path& root);
    bool isListedRoot(const std::filesystem::path& dir) const;

signals:
    void driveChanged(const QString& root);
};

// A directory tree in the old style: the chain of directories from the root down to the
// current one, then the current one's subdirectories. Activating (double click, Enter) an
// entry makes it the current directory.
class FolderChainList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderChainList(const QString& objectName, QWidget* parent = nullptr);

    std::filesystem::path path() const { return path_; }
    // Changes the current directory and lists it; pathChanged follows when it differs. With a top
    // set, a path outside it becomes the top.
    void setPath(const std::filesystem::path& path);
    // Keeps the tree inside `top` (the drive root that stands for "c:\"): the chain starts there,
    // shown as `topText`, and nothing above it can be chosen.
    void setTop(const std::filesystem::path& top, const QString& topText);
    // Whether a directory lies inside the top (always, when none is set).
    bool isInside(const std::filesystem::path& dir) const;
    // The subdirectories of the current directory, as listed.
    QStringList subdirectories() const;
    void refresh();

signals:
    void pathChanged(const QString& path);

private:
    std::filesystem::path path_;
    std::filesystem::path top_;
    QString topText_;
};

// The files of one directory matching a pattern ("*.ard", "o*.**o"; "*" for all), in name
// order without case. A click on a file emits fileClicked.
class FileList : public QListWidget {
    Q_OBJECT
public:
    FileList(const QString& objectName, const QString& pattern, QWidget* parent = nullptr);

    std::filesystem::path directory() const { return directory_; }
    void setDirectory(const std::filesystem::path& dir);
    QString pattern() const { return pattern_; }
    void refresh();

    QStringList fileNames() const;
    // The selected file's name; empty when none is selected.
    QString fileName() const;
    // Selects the row and emits fileClicked, as a click on it does.
    void clickRow(int row);

signals:
    void fileClicked(const QString& fileName);

private:
    std::filesystem::path directory_;
    QString pattern_;
};

} // namespace korvel
