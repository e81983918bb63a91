#include "ui/station/SeriesExportDialog.h"

#include "core/FileIO.h"
#include "platform/Dialogs.h"
#include "transfer/DailySeries.h"
#include "ui/common/DialogButtons.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

OleDate oleDate(const QDate& date) {
    return OleDate::fromDate(date.year(), date.month(), date.day());
}

OleDate nowUtc() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return OleDate::fromDateTime(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                                 now.time().minute(), now.time().second());
}

} // namespace

SeriesExportDialog::SeriesExportDialog(std::filesystem::path stationDir, StationRecord station, int waterYear,
                                       QWidget* parent)
    : QDialog(parent), stationDir_(std::move(stationDir)), station_(std::move(station)),
      from_(new QDateEdit(this)), to_(new QDateEdit(this)), format_(new QComboBox(this)),
      file_(new QLineEdit(this)) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Dışa aktar"));
    from_->setObjectName(QStringLiteral("fromDate"));
    to_->setObjectName(QStringLiteral("toDate"));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setCalendarPopup(true);
    }
    from_->setDate(QDate(waterYear - 1, 10, 1));
    to_->setDate(QDate(waterYear, 9, 30));
    format_->setObjectName(QStringLiteral("formatBox"));
    format_->addItem(QStringLiteral("CSV"));
    format_->addItem(QStringLiteral("WaterML 2.0"));
    file_->setObjectName(QStringLiteral("fileBox"));

    auto* browse = new QPushButton(QStringLiteral("Gözat..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const bool csv = format_->currentIndex() == 0;
        if (auto name =
                askFileName(this, QStringLiteral("Dışa aktar"),
                            csv ? QStringLiteral("CSV (*.csv)") : QStringLiteral("WaterML (*.xml)"), true))
            file_->setText(*name);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("İlk gün:"), from_);
    form->addRow(QStringLiteral("Son gün:"), to_);
    form->addRow(QStringLiteral("Biçim:"), format_);
    form->addRow(QStringLiteral("Dosya:"), fileRow);

    auto* write = new QPushButton(QStringLiteral("Aktar"), this);
    write->setObjectName(QStringLiteral("exportButton"));
    connect(write, &QPushButton::clicked, this, [this] {
        if (exportSeries())
            accept();
    });
    QHBoxLayout* buttons = actionButtonRow(this, write);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool SeriesExportDialog::exportSeries() {
    if (file_->text().trimmed().isEmpty()) {
        showMessage(this, QStringLiteral("Lütfen dosyanın adını giriniz"));
        return false;
    }
    if (to_->date() < from_->date()) {
        showMessage(this, QStringLiteral("Son gün ilk günden önce olamaz"));
        return false;
    }
    try {
        const DailySeries series =
            collectDailySeries(stationDir_, station_, oleDate(from_->date()), oleDate(to_->date()));
        const std::string text =
            format_->currentIndex() == 0 ? dailySeriesCsv(series) : dailySeriesWaterMl(series, nowUtc());
        writeFileAtomic(std::filesystem::path(file_->text().trimmed().toStdString()), text);
    } catch (const std::exception& e) {
        showMessage(this, QStringLiteral("Dosya yazılamadı: ") + QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

} // namespace korvel
