#include "ui/instruments/PortSettingsForm.h"

#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace korvel {

PortSettingsForm::PortSettingsForm(SettingsStore* settings, QWidget* parent)
    : QDialog(parent), settings_(settings), port_(new QComboBox(this)), speed_(new QComboBox(this)) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("CommPort ayarlar"));
    setModal(true);

    auto* tabs = new QTabBar(this);
    tabs->setObjectName(QStringLiteral("tabSettings"));
    tabs->addTab(QStringLiteral("Ayarlar"));

    port_->setObjectName(QStringLiteral("portno"));
    port_->setEditable(true);
    speed_->setObjectName(QStringLiteral("baudhizi"));
    speed_->setEditable(true);
    for (int n = 1; n <= 6; ++n)
        port_->addItem(QStringLiteral("Com%1").arg(n));
    for (const char* s : {"1200", "2400", "4800", "9600", "19200"})
        speed_->addItem(QString::fromLatin1(s));
    // The stored values, or nothing when none is stored.
    port_->setEditText(settings_ ? settings_->comPort() : QString());
    speed_->setEditText(settings_ ? settings_->comSpeed() : QString());

    auto* portLabel = new QLabel(QStringLiteral("Port:"), this);
    portLabel->setObjectName(QStringLiteral("Label1"));
    auto* speedFrame = new QGroupBox(QString::fromUtf8("Makimum hız"), this);
    speedFrame->setObjectName(QStringLiteral("Frame1"));
    auto* speedLayout = new QVBoxLayout(speedFrame);
    speedLayout->addWidget(speed_);

    auto* ok = new QPushButton(QStringLiteral("Tamam"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("Vaz geç"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, &PortSettingsForm::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &PortSettingsForm::cmdCancel_Click);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(portLabel);
    portRow->addWidget(port_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(portRow);
    layout->addWidget(speedFrame);
    layout->addLayout(buttons);
}

void PortSettingsForm::cmdOK_Click() {
    if (settings_) {
        settings_->setComPort(port_->currentText());
        settings_->setComSpeed(speed_->currentText());
    }
    accept();
}

void PortSettingsForm::cmdCancel_Click() {
    reject();
}

} // namespace korvel
