#include "ui/book/NetworkYearbookDialog.h"

#include "core/Paths.h"
#include "platform/Dialogs.h"
#include "platform/NetworkBookDocument.h"
#include "transfer/NetworkYearbook.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/PleaseWait.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <stdexcept>

namespace korvel {

namespace {

std::string choice(const QComboBox* box) {
    return box->currentIndex() <= 0 ? std::string() : box->currentText().toStdString();
}

} // namespace

NetworkYearbookDialog::NetworkYearbookDialog(const AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), year_(new QSpinBox(this)), region_(new QComboBox(this)),
      basin_(new QComboBox(this)), file_(new QLineEdit(this)) {
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Yıllık kitap (tüm istasyonlar)"));
    year_->setObjectName(QStringLiteral("yearBox"));
    year_->setRange(1901, 9998);
    const QDate today = QDate::currentDate();
    year_->setValue(today.month() >= 10 ? today.year() : today.year() - 1);
    region_->setObjectName(QStringLiteral("regionBox"));
    basin_->setObjectName(QStringLiteral("basinBox"));
    file_->setObjectName(QStringLiteral("fileBox"));
    region_->addItem(kAllItems);
    for (const std::string& name : listDirectories(context_.paths.dataRoot()))
        region_->addItem(QString::fromStdString(name));
    fillBasins();
    connect(region_, &QComboBox::currentIndexChanged, this, [this] { fillBasins(); });

    auto* browse = new QPushButton(QStringLiteral("Gözat..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    connect(browse, &QPushButton::clicked, this, [this] { chooseFile(); });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Su yılı:"), year_);
    form->addRow(QStringLiteral("Bölge:"), region_);
    form->addRow(QStringLiteral("Havza:"), basin_);
    form->addRow(QStringLiteral("PDF dosyası:"), fileRow);

    auto* create = new QPushButton(QStringLiteral("Oluştur"), this);
    create->setObjectName(QStringLiteral("createButton"));
    connect(create, &QPushButton::clicked, this, [this] {
        if (createBook())
            accept();
    });
    QHBoxLayout* buttons = actionButtonRow(this, create);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void NetworkYearbookDialog::fillBasins() {
    basin_->clear();
    basin_->addItem(kAllItems);
    const std::string region = choice(region_);
    std::vector<std::string> regions;
    if (region.empty())
        regions = listDirectories(context_.paths.dataRoot());
    else
        regions.push_back(region);
    for (const std::string& r : regions)
        for (const std::string& name : listDirectories(context_.paths.dataRoot() / r))
            if (basin_->findText(QString::fromStdString(name)) < 0)
                basin_->addItem(QString::fromStdString(name));
}

void NetworkYearbookDialog::chooseFile() {
    if (auto name = askFileName(this, QStringLiteral("Yıllık kitap"), QStringLiteral("PDF (*.pdf)"), true))
        file_->setText(*name);
}

bool NetworkYearbookDialog::createBook() {
    if (file_->text().trimmed().isEmpty()) {
        showMessage(this, QStringLiteral("Lütfen PDF dosyasının adını giriniz"));
        return false;
    }
    NetworkBookPlan plan;
    try {
        plan = planNetworkBook(context_.paths.dataRoot(), year_->value(), choice(region_), choice(basin_));
    } catch (const std::invalid_argument&) {
        showMessage(this, QStringLiteral("Seçilen bölge ve havzada istasyon yok"));
        return false;
    }
    PleaseWait wait(this, PleaseWait::kDefaultCaption, true);
    wait.setText(QStringLiteral("Yıllık kitap hazırlanıyor"));
    wait.setRange(0, 2 * static_cast<int>(plan.sections.size()));
    wait.start();
    NetworkBookSummary summary;
    try {
        summary = writeNetworkBookPdf(plan, file_->text().trimmed().toStdString(), context_.locale,
                                      [&wait](int done, int) {
                                          wait.setValue(done);
                                          wait.processEvents();
                                          return !wait.wasCancelled();
                                      });
    } catch (const std::exception& e) {
        wait.close();
        showMessage(this, QStringLiteral("Yıllık kitap yazılamadı: ") + QString::fromStdString(e.what()));
        return false;
    }
    wait.close();
    if (summary.cancelled) {
        showMessage(this, QStringLiteral("Yıllık kitap iptal edildi; dosya yazılmadı."));
        return false;
    }
    showMessage(this, QStringLiteral("Yıllık kitap yazıldı: %1 sayfa, %2 istasyon eksik (Eksik veriler).")
                          .arg(summary.pages)
                          .arg(summary.missing.size()));
    return true;
}

} // namespace korvel
