#include "ui/common/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace korvel {

QHBoxLayout* actionButtonRow(QDialog* dialog, QPushButton* action) {
    action->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Kapat"), dialog);
    close->setObjectName(QStringLiteral("closeButton"));
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(action);
    buttons->addWidget(close);
    return buttons;
}

} // namespace korvel
