#include "platform/ScriptedDialogs.h"

namespace korvel {

namespace {

// The next queued answer, taken off its queue; nothing when none is queued.
template <typename T> std::optional<T> takeNext(std::deque<T>& queue) {
    if (queue.empty())
        return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

} // namespace

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Call& call : calls_)
        if (call.kind == Kind::Message)
            texts.append(call.text);
    return texts;
}

void ScriptedDialogs::clear() {
    calls_.clear();
    inputs_.clear();
    answers_.clear();
    choices_.clear();
    files_.clear();
}

void ScriptedDialogs::message(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::Message, text, title, QString()});
}

std::optional<QString> ScriptedDialogs::input(QWidget*, const QString& prompt, const QString& title,
                                              const QString& defaultAnswer) {
    calls_.append({Kind::Input, prompt, title, defaultAnswer});
    if (inputs_.empty())
        return std::nullopt;
    const QueuedInput answer = inputs_.front();
    inputs_.pop_front();
    if (answer.cancelled)
        return std::nullopt;
    return answer.text;
}

bool ScriptedDialogs::yesNo(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::YesNo, text, title, QString()});
    return nextAnswer();
}

bool ScriptedDialogs::okCancel(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::OkCancel, text, title, QString()});
    return nextAnswer();
}

AbortRetryIgnore ScriptedDialogs::abortRetryIgnore(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::AbortRetryIgnore, text, title, QString()});
    return takeNext(choices_).value_or(AbortRetryIgnore::Ignore);
}

std::optional<QString> ScriptedDialogs::fileName(QWidget*, const QString& title, const QString& filter,
                                                 bool) {
    calls_.append({Kind::FileName, filter, title, QString()});
    return takeNext(files_);
}

bool ScriptedDialogs::nextAnswer() {
    return takeNext(answers_).value_or(false);
}

} // namespace korvel
