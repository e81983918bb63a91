#include "ui/instruments/EraseForm.h"

#include "instruments/LevelLogger.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

EraseForm::EraseForm(LinkWorker::LinkFactory link, LinkWorker::ClockFactory clock, QWidget* parent)
    : QDialog(parent), worker_(std::move(link), std::move(clock)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(" Cihazın hafızasını siler"));
    setModal(true);
    auto* warning = new QLabel(QString::fromUtf8("DİKKAT HAFIZA YI SİLMEK ÜZERESİNİZ"), this);
    warning->setObjectName(QStringLiteral("Label1"));
    continue_ = new QPushButton(QStringLiteral("Devam"), this);
    continue_->setObjectName(QStringLiteral("Command1"));
    cancel_ = new QPushButton(QString::fromUtf8("İptal"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    connect(continue_, &QPushButton::clicked, this, &EraseForm::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &EraseForm::Command2_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(continue_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addLayout(buttons);
}

void EraseForm::Command1_Click() {
    continue_->setEnabled(false);
    worker_.run<CommandOutcome>([](Exchange& exchange) { return eraseMemory(exchange); },
                                [this](CommandOutcome outcome) {
                                    continue_->setEnabled(true);
                                    if (closing_)
                                        return;
                                    if (outcome.ok) {
                                        emit memoryErased();
                                        accept();
                                    } else {
                                        showMessage(this, QString::fromStdString(outcome.message));
                                    }
                                });
}

void EraseForm::Command2_Click() {
    reject();
}

void EraseForm::reject() {
    // An erase under way ends without a message; the port is closed.
    closing_ = true;
    worker_.stop();
    worker_.waitForIdle(5000);
    QDialog::reject();
}

} // namespace korvel
