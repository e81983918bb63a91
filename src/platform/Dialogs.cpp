#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace korvel {

namespace {

QtDialogProvider qtDialogs;
DialogProvider* current = &qtDialogs;

QString captionOr(const QString& title) {
    return title.isEmpty() ? kProgramCaption : title;
}

} // namespace

void QtDialogProvider::message(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox::information(parent, captionOr(title), text);
}

std::optional<QString> QtDialogProvider::input(QWidget* parent, const QString& prompt, const QString& title,
                                               const QString& defaultAnswer) {
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(parent, captionOr(title), prompt, QLineEdit::Normal, defaultAnswer, &accepted);
    if (!accepted)
        return std::nullopt;
    return answer;
}

bool QtDialogProvider::yesNo(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, captionOr(title), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Evet"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("Hayır"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtDialogProvider::okCancel(QWidget* parent, const QString& text, const QString& title) {
    return QMessageBox::question(parent, captionOr(title), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

AbortRetryIgnore QtDialogProvider::abortRetryIgnore(QWidget* parent, const QString& text,
                                                    const QString& title) {
    const auto button = QMessageBox::warning(parent, captionOr(title), text,
                                             QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                                             QMessageBox::Retry);
    if (button == QMessageBox::Abort || button == QMessageBox::Escape)
        return AbortRetryIgnore::Abort;
    return button == QMessageBox::Retry ? AbortRetryIgnore::Retry : AbortRetryIgnore::Ignore;
}

std::optional<QString> QtDialogProvider::fileName(QWidget* parent, const QString& title,
                                                  const QString& filter, bool forWriting) {
    const QString file = forWriting ? QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                                                   QFileDialog::DontConfirmOverwrite)
                                    : QFileDialog::getOpenFileName(parent, title, QString(), filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

DialogProvider& dialogs() {
    return *current;
}

DialogProviderScope::DialogProviderScope(DialogProvider& provider) : previous_(current) {
    current = &provider;
}

DialogProviderScope::~DialogProviderScope() {
    current = previous_;
}

void showMessage(QWidget* parent, const QString& text, const QString& title) {
    dialogs().message(parent, text, title);
}

std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& defaultAnswer,
                               const QString& title) {
    return dialogs().input(parent, prompt, title, defaultAnswer);
}

bool askYesNo(QWidget* parent, const QString& text, const QString& title) {
    return dialogs().yesNo(parent, text, title);
}

bool askOkCancel(QWidget* parent, const QString& text, const QString& title) {
    return dialogs().okCancel(parent, text, title);
}

AbortRetryIgnore askAbortRetryIgnore(QWidget* parent, const QString& text, const QString& title) {
    return dialogs().abortRetryIgnore(parent, text, title);
}

std::optional<QString> askFileName(QWidget* parent, const QString& title, const QString& filter,
                                   bool forWriting) {
    return dialogs().fileName(parent, title, filter, forWriting);
}

} // namespace korvel
