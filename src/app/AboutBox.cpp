#include "app/AboutBox.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

QDialog* makeAboutBox(QWidget* parent) {
    auto* box = new QDialog(parent);
    box->setObjectName(QStringLiteral("frmAbout"));
    box->setWindowTitle(QStringLiteral("Hakkında"));

    auto* name = new QLabel(QStringLiteral("KORVEL2000"));
    name->setObjectName(QStringLiteral("lblTitle"));
    QFont font = name->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    name->setFont(font);

    auto* version = new QLabel(QStringLiteral("Sürüm ") + kProgramVersion);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* description = new QLabel(QStringLiteral(
        "Akım ve yağış gözlem istasyonları için hidrometri programı.\n\n"
        "İstasyon bilgilerini ve haritasını tutar; limnigraf ve pluviograf kayıtlarını seri hat veya "
        "modem ile alır; eşel okumalarını, HQ anahtar tablolarını ve ölçü kayıt kartlarını işler; "
        "aylık ve yıllık akım tablolarını, kitap sayfasını, su temini tablosunu, yağış analizlerini "
        "ve havza tablolarını hazırlar, yazdırır ve panoya kopyalar."));
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(380);

    auto* close = new QPushButton(QStringLiteral("Tamam"));
    close->setObjectName(QStringLiteral("cmdOK"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, box, &QDialog::accept);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(description);
    layout->addSpacing(8);
    layout->addWidget(close, 0, Qt::AlignRight);
    return box;
}

} // namespace korvel
