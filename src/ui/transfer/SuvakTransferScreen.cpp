#include "ui/transfer/SuvakTransferScreen.h"

#include "core/Cp1254.h"
#include "platform/Dialogs.h"
#include "transfer/StationDestination.h"
#include "transfer/SuvakImport.h"
#include "ui/common/AppContext.h"
#include "ui/common/NamedLabel.h"
#include "ui/station/CurrentStation.h"
#include "ui/transfer/FileSystemLists.h"
#include "ui/transfer/ImportReportView.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

const QString kSourceHint = QStringLiteral("Suvak datalarının bulunduğu drektory seçiniz");
const QString kClickHint = QStringLiteral("Data tranferi için tek klik");
const QString kDestinationHint = QStringLiteral("Korvel2000 için istasyon seçimi");

} // namespace

SuvakTransferScreen::SuvakTransferScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(QStringLiteral("Transfer1frm"));
    setWindowTitle(kCaption);

    drive1_ = new DriveList(QStringLiteral("Drive1"), context_.paths, this);
    dir1_ = new FolderChainList(QStringLiteral("Dir1"), this);
    file1_ = new FileList(QStringLiteral("File1"), QString::fromUtf8(kSuvakHqPattern.data()), this);
    file2_ = new FileList(QStringLiteral("File2"), QString::fromUtf8(kSuvakLevelPattern.data()), this);
    file4_ = new FileList(QStringLiteral("File4"), QString::fromUtf8(kSuvakMeasurementPattern.data()), this);
    dir2_ = new FolderChainList(QStringLiteral("Dir2"), this);
    file3_ = new FileList(QStringLiteral("File3"), QStringLiteral("*"), this);
    command1_ = new QPushButton(QStringLiteral("Bütün suvak datalarını korvel2000 gönder"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    resultList_ = new QListWidget(this);
    resultList_->setObjectName(QStringLiteral("resultList"));
    resultList_->setVisible(false);

    drive1_->setToolTip(kSourceHint);
    dir1_->setToolTip(kSourceHint);
    file1_->setToolTip(kClickHint);
    file2_->setToolTip(kClickHint);
    dir2_->setToolTip(kDestinationHint);

    auto* layout = new QGridLayout(this);
    layout->addWidget(drive1_, 0, 0);
    layout->addWidget(dir1_, 1, 0, 5, 1);
    layout->addWidget(namedLabel(QStringLiteral("hqHeading"), QStringLiteral("HQ dosyaları"), this), 0, 1);
    layout->addWidget(file1_, 1, 1);
    layout->addWidget(namedLabel(QStringLiteral("levelHeading"), QStringLiteral("Seviye dosyaları"), this), 2,
                      1);
    layout->addWidget(file2_, 3, 1);
    layout->addWidget(
        namedLabel(QStringLiteral("measurementHeading"), QStringLiteral("Ölçüm dosyaları"), this), 4, 1);
    layout->addWidget(file4_, 5, 1);
    layout->addWidget(dir2_, 0, 2, 6, 1);
    layout->addWidget(namedLabel(QStringLiteral("transferredHeading"),
                                 QStringLiteral("KORVEL2000               Tranfer olan dosyalar"), this),
                      0, 3);
    layout->addWidget(file3_, 1, 3, 5, 1);
    layout->addWidget(command1_, 6, 0, 1, 4);
    layout->addWidget(resultList_, 7, 0, 1, 4);

    connect(drive1_, &DriveList::driveChanged, this,
            [this](const QString& root) { dir1_->setPath(pathOf(root)); });
    connect(dir1_, &FolderChainList::pathChanged, this, [this] {
        file1_->setDirectory(dir1_->path());
        file2_->setDirectory(dir1_->path());
        file4_->setDirectory(dir1_->path());
    });
    connect(dir2_, &FolderChainList::pathChanged, this, [this] { destinationChanged(); });
    connect(file1_, &FileList::fileClicked, this,
            [this](const QString& name) { transferClicked(SuvakFileKind::Hq, name); });
    connect(file2_, &FileList::fileClicked, this,
            [this](const QString& name) { transferClicked(SuvakFileKind::Levels, name); });
    connect(file4_, &FileList::fileClicked, this,
            [this](const QString& name) { transferClicked(SuvakFileKind::Measurements, name); });
    connect(command1_, &QPushButton::clicked, this, [this] { transferAll(); });

    // Form_Load
    std::error_code ec;
    const fs::path suvak = context_.paths.suvakRoot();
    dir1_->setPath(fs::is_directory(suvak, ec) ? suvak : context_.paths.driveRoot());
    const fs::path station = hub_.current().stationDir;
    dir2_->setPath(station.empty() ? context_.paths.dataRoot() : station);
}

void SuvakTransferScreen::setSourceDirectory(const fs::path& dir) {
    dir1_->setPath(dir);
}

void SuvakTransferScreen::setDestinationDirectory(const fs::path& dir) {
    dir2_->setPath(dir);
}

fs::path SuvakTransferScreen::sourceDirectory() const {
    return dir1_->path();
}

fs::path SuvakTransferScreen::destinationDirectory() const {
    return dir2_->path();
}

void SuvakTransferScreen::destinationChanged() {
    if (isDriveRoot(dir2_->path(), context_.paths)) {
        dir2_->setPath(context_.paths.dataRoot()); // comes back here with the data root
        return;
    }
    file3_->setDirectory(dir2_->path());
    hub_.setStationDirectory(dir2_->path());
    hub_.refreshFileLists();
}

bool SuvakTransferScreen::destinationIsStation() {
    if (isStationDirectory(dir2_->path(), context_.paths))
        return true;
    showMessage(this,
                QString::fromUtf8(kSelectionRefusal.data(), static_cast<int>(kSelectionRefusal.size())));
    return false;
}

ImportOutcome SuvakTransferScreen::transferOne(SuvakFileKind kind, const QString& fileName) {
    const fs::path source = dir1_->path() / fileName.toStdString();
    const fs::path station = dir2_->path();
    const std::string number = trimmed(hub_.current().record.stationNumber);
    const ImportOutcome outcome = importSuvakFileAs(kind, source, station, number, context_.locale);
    file3_->refresh();
    if (kind != SuvakFileKind::Measurements)
        hub_.refreshFileLists();
    return outcome;
}

void SuvakTransferScreen::transferClicked(SuvakFileKind kind, const QString& fileName) {
    report_.clear();
    if (fileName.isEmpty() || !destinationIsStation())
        return;
    report_.add(transferOne(kind, fileName));
    showImportReport(this, resultList_, report_);
}

void SuvakTransferScreen::transferHqFile(const QString& fileName) {
    transferClicked(SuvakFileKind::Hq, fileName);
}

void SuvakTransferScreen::transferLevelFile(const QString& fileName) {
    transferClicked(SuvakFileKind::Levels, fileName);
}

void SuvakTransferScreen::transferMeasurementFile(const QString& fileName) {
    transferClicked(SuvakFileKind::Measurements, fileName);
}

void SuvakTransferScreen::transferAll() {
    report_.clear();
    if (!destinationIsStation())
        return;
    for (const auto& [list, kind] :
         {std::pair{file1_, SuvakFileKind::Hq}, std::pair{file2_, SuvakFileKind::Levels},
          std::pair{file4_, SuvakFileKind::Measurements}}) {
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            report_.add(transferOne(kind, list->item(row)->text()));
        }
    }
    showMessage(this, kAllDoneMessage);
    showImportReport(this, resultList_, report_);
}

} // namespace korvel
