#include "ui/transfer/ArchiveScreen.h"

#include "platform/Dialogs.h"
#include "transfer/StationDestination.h"
#include "transfer/ZipArchive.h"
#include "ui/common/AppContext.h"
#include "ui/common/NamedLabel.h"
#include "ui/common/QtText.h"
#include "ui/station/CurrentStation.h"
#include "ui/transfer/FileSystemLists.h"
#include "ui/transfer/ImportReportView.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace korvel {

namespace fs = std::filesystem;

ArchiveScreen::ArchiveScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(QStringLiteral("ArchiveScreen"));
    setWindowTitle(kCaption);

    stationTree_ = new FolderChainList(QStringLiteral("stationDirTree"), this);
    stationTree_->setTop(context_.paths.driveRoot(), kDriveRootText);
    stationFiles_ = new FileList(QStringLiteral("stationFileList"), QStringLiteral("*"), this);
    exchangeDrive_ = new DriveList(QStringLiteral("exchangeDriveList"), context_.paths, this);
    exchangeTree_ = new FolderChainList(QStringLiteral("exchangeDirTree"), this);
    exchangeFiles_ = new FileList(QStringLiteral("exchangeFileList"), QStringLiteral("*.zip"), this);
    packAllButton_ = new QPushButton(QStringLiteral("Tamamını sıkıştırarak yolla  >>>"), this);
    packAllButton_->setObjectName(QStringLiteral("packAllButton"));
    unpackAllButton_ = new QPushButton(QStringLiteral("<<<  Tamamını Korvel2000'e aç"), this);
    unpackAllButton_->setObjectName(QStringLiteral("unpackAllButton"));
    resultList_ = new QListWidget(this);
    resultList_->setObjectName(QStringLiteral("resultList"));
    resultList_->setVisible(false);

    stationTree_->setToolTip(QStringLiteral("Korvel2000 den data göndereceğiniz veya alacağınız dizin."));
    stationFiles_->setToolTip(QStringLiteral("Tıkladığınızda yandaki secili dizine sıkıştırır."));
    const QString exchangeHint = QStringLiteral("Korvel2000  den gelen dataların kaydedileceği dizin veya "
                                                "korvel2000 atanacak olan dataların dizini");
    exchangeDrive_->setToolTip(exchangeHint);
    exchangeTree_->setToolTip(exchangeHint);
    exchangeFiles_->setToolTip(
        QStringLiteral("Tıklandığında sıkıştırılmış Korvel2000 dosyalarını seçdiğiniz dizine açar.."));

    auto* layout = new QGridLayout(this);
    layout->addWidget(stationTree_, 0, 0, 3, 1);
    layout->addWidget(namedLabel(QStringLiteral("stationFilesHeading"),
                                 QStringLiteral("Gönderilecek Korvel2000 dosyaları "), this),
                      0, 1);
    layout->addWidget(stationFiles_, 1, 1, 2, 1);
    layout->addWidget(packAllButton_, 1, 2);
    layout->addWidget(unpackAllButton_, 2, 2);
    layout->addWidget(namedLabel(QStringLiteral("exchangeFilesHeading"),
                                 QStringLiteral("Giden veya alınacak korvel2000 dosyaları"), this),
                      0, 3);
    layout->addWidget(exchangeFiles_, 1, 3, 2, 1);
    layout->addWidget(exchangeDrive_, 0, 4);
    layout->addWidget(exchangeTree_, 1, 4, 2, 1);
    layout->addWidget(resultList_, 3, 0, 1, 5);

    connect(stationTree_, &FolderChainList::pathChanged, this, [this] {
        if (isDriveRoot(stationTree_->path(), context_.paths)) {
            stationTree_->setPath(context_.paths.dataRoot());
            return;
        }
        stationFiles_->setDirectory(stationTree_->path());
    });
    connect(exchangeDrive_, &DriveList::driveChanged, this,
            [this](const QString& root) { exchangeTree_->setPath(pathOf(root)); });
    connect(exchangeTree_, &FolderChainList::pathChanged, this,
            [this] { exchangeFiles_->setDirectory(exchangeTree_->path()); });
    connect(stationFiles_, &FileList::fileClicked, this, [this](const QString& name) { packFile(name); });
    connect(exchangeFiles_, &FileList::fileClicked, this,
            [this](const QString& name) { unpackArchive(name); });
    connect(packAllButton_, &QPushButton::clicked, this, [this] { packAll(); });
    connect(unpackAllButton_, &QPushButton::clicked, this, [this] { unpackAll(); });

    const fs::path station = hub_.current().stationDir;
    stationTree_->setPath(station.empty() ? context_.paths.dataRoot() : station);
    exchangeTree_->setPath(exchangeDrive_->drive());
}

void ArchiveScreen::setStationDirectory(const fs::path& dir) {
    stationTree_->setPath(dir);
}

void ArchiveScreen::setExchangeDirectory(const fs::path& dir) {
    exchangeTree_->setPath(dir);
}

fs::path ArchiveScreen::stationDirectory() const {
    return stationTree_->path();
}

fs::path ArchiveScreen::exchangeDirectory() const {
    return exchangeTree_->path();
}

bool ArchiveScreen::packOne(const QString& fileName) {
    if (!stationTree_->isInside(stationTree_->path()))
        return false;
    const fs::path exchange = exchangeTree_->path();
    fs::path target;
    try {
        const bool atRoot = isDriveRoot(exchange, context_.paths) || exchangeDrive_->isListedRoot(exchange);
        target = packingDirectory(exchange, context_.paths, atRoot);
    } catch (const ArchiveRefused& e) {
        showMessage(this, QString::fromUtf8(e.what()));
        return false;
    } catch (const ArchiveError& e) {
        report_.skip(fileName.toStdString(), e.what());
        return true;
    }
    if (target != exchange)
        exchangeTree_->setPath(target);
    try {
        korvel::packFile(stationTree_->path() / fileName.toStdString(), target);
    } catch (const ArchiveError& e) {
        report_.skip(fileName.toStdString(), e.what());
    }
    exchangeFiles_->refresh();
    return true;
}

void ArchiveScreen::packFile(const QString& fileName) {
    report_.clear();
    if (fileName.isEmpty())
        return;
    packOne(fileName);
    showImportReport(this, resultList_, report_);
}

void ArchiveScreen::packAll() {
    report_.clear();
    if (isInDataRoot(exchangeTree_->path(), context_.paths)) {
        showMessage(this, qText(kWorkAreaRefusal));
        return;
    }
    for (int row = 0; row < stationFiles_->count(); ++row) {
        stationFiles_->setCurrentRow(row);
        if (!packOne(stationFiles_->item(row)->text()))
            break;
    }
    showImportReport(this, resultList_, report_);
}

bool ArchiveScreen::stationSideIsStation() {
    if (isStationDirectory(stationTree_->path(), context_.paths))
        return true;
    showMessage(this, qText(kSelectionRefusal));
    return false;
}

void ArchiveScreen::unpackOne(const QString& archiveName) {
    try {
        korvel::unpackArchive(exchangeTree_->path() / archiveName.toStdString(), stationTree_->path());
    } catch (const ArchiveError& e) {
        report_.skip(archiveName.toStdString(), e.what());
    }
    stationFiles_->refresh();
    hub_.refreshFileLists();
}

void ArchiveScreen::unpackArchive(const QString& archiveName) {
    report_.clear();
    if (archiveName.isEmpty() || !stationSideIsStation())
        return;
    unpackOne(archiveName);
    showImportReport(this, resultList_, report_);
}

void ArchiveScreen::unpackAll() {
    report_.clear();
    if (!stationSideIsStation())
        return;
    for (int row = 0; row < exchangeFiles_->count(); ++row) {
        exchangeFiles_->setCurrentRow(row);
        unpackOne(exchangeFiles_->item(row)->text());
    }
    showImportReport(this, resultList_, report_);
}

} // namespace korvel
