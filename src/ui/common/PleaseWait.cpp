#include "ui/common/PleaseWait.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace korvel {

PleaseWait::PleaseWait(QWidget* parent, const QString& caption, bool cancellable)
    : QDialog(parent), label_(new QLabel(this)), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("bekleyiniz"));
    setWindowTitle(caption);
    setModal(false);
    if (cancellable)
        setWindowModality(Qt::ApplicationModal);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setMinimumWidth(360);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    bar_->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    if (cancellable) {
        cancelButton_ = new QPushButton(QStringLiteral("İptal"), this);
        cancelButton_->setObjectName(QStringLiteral("Command1"));
        layout->addWidget(cancelButton_, 0, Qt::AlignRight);
        connect(cancelButton_, &QPushButton::clicked, this, &PleaseWait::cancel);
    }
}

void PleaseWait::setText(const QString& text) {
    label_->setText(text);
    processEvents();
}

QString PleaseWait::text() const {
    return label_->text();
}

void PleaseWait::setRange(int minimum, int maximum) {
    bar_->setRange(minimum, maximum);
}

void PleaseWait::setValue(int value) {
    bar_->setValue(std::clamp(value, bar_->minimum(), bar_->maximum()));
    processEvents();
}

int PleaseWait::value() const {
    return bar_->value();
}

int PleaseWait::maximum() const {
    return bar_->maximum();
}

void PleaseWait::cancel() {
    if (cancelled_)
        return;
    cancelled_ = true;
    emit cancelled();
}

void PleaseWait::reject() {
    if (isCancellable())
        cancel();
}

void PleaseWait::start() {
    show();
    raise();
    processEvents();
}

void PleaseWait::processEvents() {
    QCoreApplication::processEvents(isCancellable() ? QEventLoop::AllEvents
                                                    : QEventLoop::ExcludeUserInputEvents);
}

} // namespace korvel
