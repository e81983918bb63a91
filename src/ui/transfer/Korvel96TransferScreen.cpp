#include "ui/transfer/Korvel96TransferScreen.h"

#include "core/Cp1254.h"
#include "platform/Dialogs.h"
#include "transfer/Korvel96Import.h"
#include "transfer/StationDestination.h"
#include "ui/common/AppContext.h"
#include "ui/common/NamedLabel.h"
#include "ui/instruments/StationNumberPrompt.h"
#include "ui/station/CurrentStation.h"
#include "ui/transfer/FileSystemLists.h"
#include "ui/transfer/ImportReportView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

const QString kSourceHint = QStringLiteral("Hq tablosunun bulunduğu drektory seçiniz");
const QString kClickHint = QStringLiteral("Data tranferi için tek klik");
const QString kDestinationHint = QStringLiteral("Korvel2000 için istasyon seçimi");

} // namespace

Korvel96TransferScreen::Korvel96TransferScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub) {
    setObjectName(QStringLiteral("Transfer2frm"));
    setWindowTitle(kCaption);

    dir1_ = new FolderChainList(QStringLiteral("Dir1"), this);
    file1_ = new FileList(QStringLiteral("File1"), QString::fromUtf8(kKorvel96ReadingsPattern.data()), this);
    dir2_ = new FolderChainList(QStringLiteral("Dir2"), this);
    file2_ = new FileList(QStringLiteral("File2"), QStringLiteral("*.ard"), this);
    resultList_ = new QListWidget(this);
    resultList_->setObjectName(QStringLiteral("resultList"));
    resultList_->setVisible(false);

    dir1_->setToolTip(kSourceHint);
    file1_->setToolTip(kClickHint);
    dir2_->setToolTip(kDestinationHint);

    auto* layout = new QGridLayout(this);
    layout->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("KORVEL96"), this), 0, 0);
    layout->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("Korvel96"), this), 1, 0);
    layout->addWidget(dir1_, 2, 0);
    layout->addWidget(namedLabel(QStringLiteral("Label5"), QStringLiteral("Sağım dosyaları"), this), 1, 1);
    layout->addWidget(file1_, 2, 1);
    layout->addWidget(
        namedLabel(QStringLiteral("Label4"), QStringLiteral("KORVEL2000         Su yıllığı dosyaları"), this),
        0, 2, 1, 2);
    layout->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Korvel2000"), this), 1, 2);
    layout->addWidget(dir2_, 2, 2);
    layout->addWidget(file2_, 2, 3);
    layout->addWidget(resultList_, 3, 0, 1, 4);

    connect(dir1_, &FolderChainList::pathChanged, this, [this] { sourceChanged(); });
    connect(dir2_, &FolderChainList::pathChanged, this, [this] { destinationChanged(); });
    connect(file1_, &FileList::fileClicked, this, [this](const QString& name) { transferFile(name); });

    // Form_Load
    const fs::path station = hub_.current().stationDir;
    dir2_->setPath(station.empty() ? context_.paths.dataRoot() : station);
    const fs::path stations = context_.paths.korvel96Root() / "istasyon";
    openSourceIfPresent(stations);
    // The number as stored, trailing spaces included: a short number names no directory.
    openSourceIfPresent(stations / hub_.current().record.stationNumber);
    if (dir1_->path().empty())
        dir1_->setPath(context_.paths.korvel96Root());
}

void Korvel96TransferScreen::openSourceIfPresent(const fs::path& dir) {
    std::error_code ec;
    const fs::path found = resolveCaseInsensitive(dir);
    if (fs::is_directory(found, ec))
        dir1_->setPath(found);
}

void Korvel96TransferScreen::setSourceDirectory(const fs::path& dir) {
    dir1_->setPath(dir);
}

void Korvel96TransferScreen::setDestinationDirectory(const fs::path& dir) {
    dir2_->setPath(dir);
}

fs::path Korvel96TransferScreen::sourceDirectory() const {
    return dir1_->path();
}

fs::path Korvel96TransferScreen::destinationDirectory() const {
    return dir2_->path();
}

void Korvel96TransferScreen::sourceChanged() {
    if (isDriveRoot(dir1_->path(), context_.paths)) {
        dir1_->setPath(context_.paths.korvel96Root()); // comes back here with the older program's root
        return;
    }
    file1_->setDirectory(dir1_->path());
}

void Korvel96TransferScreen::destinationChanged() {
    if (isDriveRoot(dir2_->path(), context_.paths)) {
        dir2_->setPath(context_.paths.dataRoot()); // comes back here with the data root
        return;
    }
    file2_->setDirectory(dir2_->path());
    hub_.setStationDirectory(dir2_->path());
    hub_.refreshFileLists();
}

void Korvel96TransferScreen::transferFile(const QString& fileName) {
    report_.clear();
    const fs::path station = dir2_->path();
    if (!isStationDirectory(station, context_.paths)) {
        showMessage(this,
                    QString::fromUtf8(kSelectionRefusal.data(), static_cast<int>(kSelectionRefusal.size())));
        return;
    }
    if (fileName.isEmpty())
        return;
    const fs::path source = dir1_->path() / fileName.toStdString();

    // Without its station-texts file a download cannot be converted: say so before asking.
    const auto texts = readStationTexts(source);
    if (!texts) {
        report_.add(importKorvel96File(source, hub_.current().record.stationNumber, station));
        showImportReport(this, resultList_, report_);
        return;
    }
    const auto number = confirmStationNumber(this, texts->stationNumber, hub_.current().record.stationNumber);
    if (!number)
        return;
    report_.add(importKorvel96File(source, *number, station));
    file2_->refresh();
    hub_.refreshFileLists();
    showImportReport(this, resultList_, report_);
}

void Korvel96TransferScreen::closeEvent(QCloseEvent* event) {
    hub_.refreshFileLists(); // Form_Unload
    QWidget::closeEvent(event);
}

} // namespace korvel
