#include "ui/transfer/DeletionScreen.h"

#include "platform/Dialogs.h"
#include "transfer/FileDeletion.h"
#include "ui/common/AppContext.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/QtText.h"
#include "ui/station/CurrentStation.h"
#include "ui/transfer/FileSystemLists.h"

#include <QGridLayout>
#include <QLabel>

namespace korvel {

namespace fs = std::filesystem;

DeletionScreen::DeletionScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), hub_(hub) {
    setObjectName(QStringLiteral("DeletionScreen"));
    setWindowTitle(qText(kDeletionCaption));

    dirTree_ = new FolderChainList(QStringLiteral("dirTree"), this);
    dirTree_->setTop(context.paths.driveRoot(), kDriveRootText);
    waterYearFiles_ = new FileList(QStringLiteral("waterYearList"), QStringLiteral("*.ard"), this);
    hqFiles_ = new FileList(QStringLiteral("hqList"), QStringLiteral("*.HQ"), this);
    allFiles_ = new FileList(QStringLiteral("allFilesList"), QStringLiteral("*"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(dirTree_, 0, 0, 2, 1);
    layout->addWidget(
        namedLabel(QStringLiteral("waterYearHeading"), QStringLiteral("Su yıllığı dosyası"), this), 0, 1);
    layout->addWidget(waterYearFiles_, 1, 1);
    layout->addWidget(namedLabel(QStringLiteral("hqHeading"), QStringLiteral("HQ dosyaları"), this), 0, 2);
    layout->addWidget(hqFiles_, 1, 2);
    layout->addWidget(namedLabel(QStringLiteral("allFilesHeading"), QStringLiteral("Bütün dosyalar"), this),
                      0, 3);
    layout->addWidget(allFiles_, 1, 3);

    connect(dirTree_, &FolderChainList::pathChanged, this, [this] { refreshLists(); });
    connect(waterYearFiles_, &FileList::fileClicked, this,
            [this](const QString& name) { deleteListedFile(name); });
    connect(hqFiles_, &FileList::fileClicked, this, [this](const QString& name) { deleteListedFile(name); });
    connect(allFiles_, &FileList::fileClicked, this,
            [this](const QString& name) { deleteWithCompanionFile(name); });

    const fs::path station = hub_.current().stationDir;
    dirTree_->setPath(station.empty() ? context.paths.dataRoot() : station);
}

void DeletionScreen::setDirectory(const fs::path& dir) {
    dirTree_->setPath(dir);
}

fs::path DeletionScreen::directory() const {
    return dirTree_->path();
}

void DeletionScreen::refreshLists() {
    for (FileList* list : {waterYearFiles_, hqFiles_, allFiles_})
        list->setDirectory(dirTree_->path());
}

bool DeletionScreen::confirmed(const QString& defaultAnswer) {
    const auto answer = askText(this, qText(kDeletionPrompt), defaultAnswer);
    return answer && !answer->isEmpty();
}

void DeletionScreen::deleteListedFile(const QString& fileName) {
    if (fileName.isEmpty() || !dirTree_->isInside(dirTree_->path()) || !confirmed(QString()))
        return;
    deleteStationFile(dirTree_->path(), fileName.toStdString());
    refreshLists();
    hub_.refreshFileLists();
}

void DeletionScreen::deleteWithCompanionFile(const QString& fileName) {
    if (fileName.isEmpty() || !dirTree_->isInside(dirTree_->path()) || !confirmed(fileName))
        return;
    deleteWithCompanion(dirTree_->path(), fileName.toStdString());
    refreshLists();
    hub_.refreshFileLists();
}

} // namespace korvel
