#include "ui/instruments/KeptDownloadsPanel.h"

#include "core/FileIO.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvel {

KeptDownloadsPanel::KeptDownloadsPanel(Reconvert reconvert, QWidget* parent)
    : QWidget(parent), reconvert_(std::move(reconvert)) {
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("KeptDownloads"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Zaman"), QStringLiteral("Cihaz"), QStringLiteral("Bayt"),
                            QStringLiteral("Durum"), QString::fromUtf8("İstasyon"),
                            QString::fromUtf8("Kayıt")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMaximumHeight(140);
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("KeptDownloadsTotal"));
    button_ = new QPushButton(QString::fromUtf8("Ham verileri yeniden dönüştür"), this);
    button_->setObjectName(QStringLiteral("ReconvertCommand"));
    connect(button_, &QPushButton::clicked, this, &KeptDownloadsPanel::ReconvertCommand_Click);
    auto* row = new QHBoxLayout;
    row->addWidget(total_, 1);
    row->addWidget(button_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    layout->addLayout(row);
}

void KeptDownloadsPanel::showStation(const std::filesystem::path& stationDir) {
    downloads_ = stationDir.empty() ? std::vector<KeptDownload>{} : listKeptDownloads(stationDir);
    list_->clear();
    for (const KeptDownload& k : downloads_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(k.time));
        item->setText(1, QString::fromStdString(k.instrument));
        item->setText(2, QString::number(k.bytes));
        item->setText(3, k.complete ? QStringLiteral("tam") : QStringLiteral("eksik"));
        item->setText(4, QString::fromStdString(k.station));
        item->setText(5, QString::fromStdString(k.log.filename().string()));
        item->setToolTip(0, QString::fromStdString(k.image.string()));
    }
    total_->setText(QString::fromUtf8("Toplam: %1 sağım, %2 bayt")
                        .arg(downloads_.size())
                        .arg(static_cast<qulonglong>(keptDownloadsSize(downloads_))));
}

void KeptDownloadsPanel::choose(int row) {
    list_->setCurrentItem(list_->topLevelItem(row));
}

void KeptDownloadsPanel::ReconvertCommand_Click() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || row >= static_cast<int>(downloads_.size())) {
        showMessage(this, QString::fromUtf8("Listeden bir sağım seçiniz"));
        return;
    }
    reconvert_(downloads_[static_cast<std::size_t>(row)]);
}

std::optional<KeptDownload> keepInStation(QWidget* screen, const std::filesystem::path& stationDir,
                                          const DownloadSession& session) {
    if (stationDir.empty())
        return std::nullopt;
    try {
        return keepDownload(stationDir, session);
    } catch (const FileError& e) {
        showMessage(screen, QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

} // namespace korvel
