#include "ui/transfer/FileSystemLists.h"

#include <QStorageInfo>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;
const QString kIndent = QStringLiteral("  ");

} // namespace

QString pathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

fs::path pathOf(const QString& text) {
    return fs::path(text.toStdString());
}

DriveList::DriveList(const QString& objectName, const Paths& paths, QWidget* parent) : QComboBox(parent) {
    setObjectName(objectName);
    addItem(pathText(paths.driveRoot()), pathText(paths.driveRoot()));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        if (findData(volume.rootPath()) < 0)
            addItem(volume.rootPath(), volume.rootPath());
    }
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit driveChanged(itemData(index).toString());
    });
}

fs::path DriveList::drive() const {
    return pathOf(currentData().toString());
}

void DriveList::setDrive(const fs::path& root) {
    const QString text = pathText(root);
    int index = findData(text);
    if (index < 0) {
        addItem(text, text);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

bool DriveList::isListedRoot(const fs::path& dir) const {
    std::error_code ec;
    for (int i = 0; i < count(); ++i)
        if (fs::equivalent(pathOf(itemData(i).toString()), dir, ec))
            return true;
    return false;
}

FolderChainList::FolderChainList(const QString& objectName, QWidget* parent) : QListWidget(parent) {
    setObjectName(objectName);
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setPath(pathOf(item->data(kPathRole).toString())); });
}

void FolderChainList::setPath(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path())
        normal = normal.parent_path();
    const bool changed = normal != path_;
    path_ = normal;
    refresh();
    if (changed)
        emit pathChanged(pathText(path_));
}

void FolderChainList::refresh() {
    clear();
    int depth = 0;
    const auto addEntry = [this, &depth](const QString& text, const fs::path& dir) {
        auto* item = new QListWidgetItem(kIndent.repeated(depth) + text, this);
        item->setData(kPathRole, pathText(dir));
    };
    fs::path chain = path_.root_path();
    if (!chain.empty()) {
        addEntry(pathText(chain), chain);
        ++depth;
    }
    for (const auto& part : path_.relative_path()) {
        if (part.empty())
            continue;
        chain /= part;
        addEntry(pathText(part), chain);
        ++depth;
    }
    if (count() > 0)
        setCurrentRow(count() - 1);
    for (const std::string& name : listDirectories(path_))
        addEntry(QString::fromStdString(name), path_ / name);
}

QStringList FolderChainList::subdirectories() const {
    QStringList names;
    for (const std::string& name : listDirectories(path_))
        names << QString::fromStdString(name);
    return names;
}

FileList::FileList(const QString& objectName, const QString& pattern, QWidget* parent)
    : QListWidget(parent), pattern_(pattern) {
    setObjectName(objectName);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void FileList::setDirectory(const fs::path& dir) {
    directory_ = dir;
    refresh();
}

void FileList::refresh() {
    clear();
    for (const std::string& name : listFiles(directory_, pattern_.toStdString()))
        addItem(QString::fromStdString(name));
}

QStringList FileList::fileNames() const {
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

QString FileList::fileName() const {
    const QListWidgetItem* selected = currentItem();
    return selected != nullptr && selected->isSelected() ? selected->text() : QString();
}

void FileList::clickRow(int row) {
    if (row < 0 || row >= count())
        return;
    setCurrentRow(row);
    emit fileClicked(item(row)->text());
}

} // namespace korvel
