#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace korvel {

// The caption of message boxes that name no title of their own.
inline const QString kProgramCaption = QStringLiteral("KORVEL2000");

// The answers of an abort/retry/ignore box.
enum class AbortRetryIgnore { Abort, Retry, Ignore };

// The modal boxes of the screens. Screens reach them through `dialogs()`, so tests can put a
// scripted provider in place and drive a screen without a box blocking.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;

    // Information box with an OK button.
    virtual void message(QWidget* parent, const QString& text, const QString& title) = 0;
    // Input box with a prompt and a default answer; cancel gives no answer.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                         const QString& defaultAnswer) = 0;
    // Question with "Evet"/"Hayır" buttons; true for yes.
    virtual bool yesNo(QWidget* parent, const QString& text, const QString& title) = 0;
    // Question with OK/Cancel buttons; true for OK.
    virtual bool okCancel(QWidget* parent, const QString& text, const QString& title) = 0;
    // Question with the buttons abort, retry and ignore.
    virtual AbortRetryIgnore abortRetryIgnore(QWidget* parent, const QString& text, const QString& title) = 0;
    // File chooser (`forWriting`: a file that need not exist yet); nothing when cancelled.
    virtual std::optional<QString> fileName(QWidget* parent, const QString& title, const QString& filter,
                                            bool forWriting) = 0;
};

// The real boxes.
class QtDialogProvider : public DialogProvider {
public:
    void message(QWidget* parent, const QString& text, const QString& title) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultAnswer) override;
    bool yesNo(QWidget* parent, const QString& text, const QString& title) override;
    bool okCancel(QWidget* parent, const QString& text, const QString& title) override;
    AbortRetryIgnore abortRetryIgnore(QWidget* parent, const QString& text, const QString& title) override;
    std::optional<QString> fileName(QWidget* parent, const QString& title, const QString& filter,
                                    bool forWriting) override;
};

// The provider in force: the real boxes unless one was installed.
DialogProvider& dialogs();

// Installs a provider for its own lifetime and restores the previous one afterwards.
class DialogProviderScope {
public:
    explicit DialogProviderScope(DialogProvider& provider);
    ~DialogProviderScope();
    DialogProviderScope(const DialogProviderScope&) = delete;
    DialogProviderScope& operator=(const DialogProviderScope&) = delete;

private:
    DialogProvider* previous_;
};

// Shortcuts through `dialogs()`; an empty title stands for the program's caption.
void showMessage(QWidget* parent, const QString& text, const QString& title = QString());
std::optional<QString> askText(QWidget* parent, const QString& prompt,
                               const QString& defaultAnswer = QString(), const QString& title = QString());
bool askYesNo(QWidget* parent, const QString& text, const QString& title = QString());
bool askOkCancel(QWidget* parent, const QString& text, const QString& title = QString());
AbortRetryIgnore askAbortRetryIgnore(QWidget* parent, const QString& text, const QString& title = QString());
std::optional<QString> askFileName(QWidget* parent, const QString& title, const QString& filter,
                                   bool forWriting = false);

} // namespace korvel
