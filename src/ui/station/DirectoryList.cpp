#include "ui/station/DirectoryList.h"

#include "core/Paths.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <vector>

namespace korvel {

namespace fs = std::filesystem;

namespace {

const int kPathRole = Qt::UserRole + 1;

QString pathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

bool isUnder(const fs::path& dir, const fs::path& root) {
    const fs::path relative = dir.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

fs::path normalDirectory(const fs::path& dir) {
    fs::path normal = dir.lexically_normal();
    if (normal.has_relative_path() && !normal.has_filename())
        normal = normal.parent_path();
    return normal;
}

} // namespace

DirectoryList::DirectoryList(fs::path driveRoot, QWidget* parent)
    : QTreeWidget(parent), driveRoot_(normalDirectory(driveRoot)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(12);
    setRootIsDecorated(true);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* entry) { emit directoryChosen(entry->data(0, kPathRole).toString()); });
}

void DirectoryList::setDirectory(const fs::path& dir) {
    directory_ = normalDirectory(dir);
    clear();

    // The open directories from the drive root, or from the file system root for a directory
    // outside the drive.
    const fs::path root =
        directory_ == driveRoot_ || isUnder(directory_, driveRoot_) ? driveRoot_ : directory_.root_path();
    std::vector<fs::path> chain;
    for (fs::path p = directory_;; p = p.parent_path()) {
        chain.push_back(p);
        if (p == root || p == p.parent_path() || p.empty())
            break;
    }
    QTreeWidgetItem* parent = nullptr;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QString name = *it == driveRoot_        ? QStringLiteral("c:\\")
                             : it->filename().empty() ? pathText(*it)
                                                      : pathText(it->filename());
        parent = addEntry(parent, *it, name, true);
    }
    for (const std::string& name : listDirectories(directory_))
        addEntry(parent, directory_ / name, QString::fromStdString(name), false);
    expandAll();
    setCurrentItem(parent);
}

QTreeWidgetItem* DirectoryList::entryOf(const fs::path& dir) const {
    const fs::path wanted = normalDirectory(dir);
    for (QTreeWidgetItemIterator it(const_cast<DirectoryList*>(this)); *it; ++it)
        if (directoryOf(*it) == wanted)
            return *it;
    return nullptr;
}

fs::path DirectoryList::directoryOf(const QTreeWidgetItem* entry) {
    return entry == nullptr ? fs::path() : fs::path(entry->data(0, kPathRole).toString().toStdString());
}

QTreeWidgetItem* DirectoryList::addEntry(QTreeWidgetItem* parent, const fs::path& dir, const QString& text,
                                         bool open) {
    auto* entry = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
    entry->setText(0, text);
    entry->setData(0, kPathRole, pathText(dir));
    entry->setIcon(
        0, QApplication::style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    return entry;
}

} // namespace korvel
