#include "ui/transfer/FileSystemLists.h"

#include <QStorageInfo>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;
const QString kIndent = QStringLiteral("  ");

// The path with symbolic links and "..", as far as it exists, resolved.
fs::path realPath(const fs::path& path) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : real;
}

bool isWithin(const fs::path& dir, const fs::path& top) {
    const fs::path relative = realPath(dir).lexically_relative(realPath(top));
    return !relative.empty() && *relative.begin() != "..";
}

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

void FolderChainList::setTop(const fs::path& top, const QString& topText) {
    top_ = top.lexically_normal();
    if (!top_.has_filename() && top_ != top_.root_path())
        top_ = top_.parent_path();
    topText_ = topText;
    setPath(path_.empty() ? top_ : path_);
}

bool FolderChainList::isInside(const fs::path& dir) const {
    return top_.empty() || isWithin(dir, top_);
}

void FolderChainList::setPath(const fs::path& path) {
    fs::path normal = isInside(path) ? path.lexically_normal() : top_;
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
    fs::path chain = top_.empty() ? path_.root_path() : top_;
    if (!chain.empty()) {
        addEntry(top_.empty() ? pathText(chain) : topText_, chain);
        ++depth;
    }
    const fs::path below =
        top_.empty() ? path_.relative_path() : realPath(path_).lexically_relative(realPath(top_));
    for (const auto& part : below) {
        if (part == ".")
            continue;
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
