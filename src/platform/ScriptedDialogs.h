#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <deque>

namespace korvel {

// A dialog provider for tests: it records every box a screen raises and answers from queues.
// An input box with no queued answer is cancelled; a question with none is answered no; an
// abort/retry/ignore box with none is ignored; a file chooser with none is cancelled.
class ScriptedDialogs : public DialogProvider {
public:
    enum class Kind { Message, Input, YesNo, OkCancel, AbortRetryIgnore, FileName };
    struct Call {
        Kind kind;
        QString text; // the message, question or prompt
        QString title;
        QString defaultAnswer;
    };

    void queueInput(const QString& answer) { inputs_.push_back({false, answer}); }
    void queueCancel() { inputs_.push_back({true, QString()}); }
    void queueAnswer(bool answer) { answers_.push_back(answer); }
    void queueChoice(AbortRetryIgnore choice) { choices_.push_back(choice); }
    void queueFileName(const QString& file) { files_.push_back(file); }

    const QList<Call>& calls() const { return calls_; }
    QStringList messages() const; // the texts of the information boxes, in order
    void clear();

    void message(QWidget* parent, const QString& text, const QString& title) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultAnswer) override;
    bool yesNo(QWidget* parent, const QString& text, const QString& title) override;
    bool okCancel(QWidget* parent, const QString& text, const QString& title) override;
    AbortRetryIgnore abortRetryIgnore(QWidget* parent, const QString& text, const QString& title) override;
    std::optional<QString> fileName(QWidget* parent, const QString& title, const QString& filter,
                                    bool forWriting) override;

private:
    bool nextAnswer();

    struct QueuedInput {
        bool cancelled;
        QString text;
    };

    QList<Call> calls_;
    std::deque<QueuedInput> inputs_;
    std::deque<bool> answers_;
    std::deque<AbortRetryIgnore> choices_;
    std::deque<QString> files_;
};

} // namespace korvel
